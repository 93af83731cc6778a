#include "cli/RunConvert.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // The converter reads and writes in large blocks; C stdio sync would only slow it.
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
    std::vector<std::string> args(argv + 1, argv + argc);
    return sorvanti::runConvert(args, std::cin, std::cout, std::cerr,
                                sorvanti::processConvertEnv());
}
