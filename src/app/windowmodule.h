#pragma once

// The module that holds the window, loaded from the program's private library folder (or,
// in a build tree, from beside the program).
namespace WindowModule {
// Loads the module and runs the window until it closes; gives the program's exit status.
// argc must outlive the window, as QApplication's does.
int run(int &argc, char **argv);
}
