#pragma once

// Loads the window module (the wizard with Qt Widgets) and runs it. The command
// line never loads it, so it starts as fast as a plain Qt Core program.
int runWindow(int argc, char* argv[]);
