#pragma once

// Reading and replacing files by name without ever leaving a half-written file or
// blocking on something that is not a file.

#include "platform/AtomicWrite.h"
#include "platform/FileLock.h"
#include "platform/FileRead.h"
#include "platform/FileResult.h"
