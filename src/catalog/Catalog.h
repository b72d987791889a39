#pragma once

// The catalogue file beside the executable, one unit per job: the read
// (Snapshot), the texts of its outcomes, the load with its start-up log, the
// changes of its membership, single values and the remembered options.

#include "catalog/CatalogLoad.h"
#include "catalog/CatalogTexts.h"
#include "catalog/CatalogValues.h"
#include "catalog/ComponentKind.h"
#include "catalog/Membership.h"
#include "catalog/Options.h"
#include "catalog/Snapshot.h"
