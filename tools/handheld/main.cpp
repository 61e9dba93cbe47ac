// handheld DIR COMMAND [ARGS...]: inspect and edit a simulated handheld folder.
#include <iostream>

#include "tools/handheld/Command.h"

int main(int argc, char** argv) {
    return wexal::handheld::RunTool(argc, argv, std::cout, std::cerr);
}
