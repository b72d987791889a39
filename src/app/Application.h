#pragma once

// Sets up the application (German texts), shows the main window and runs it.
int runApplication(int argc, char* argv[]);
