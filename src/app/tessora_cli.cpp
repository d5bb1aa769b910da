#include "ExecucioCli.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return tessora::ExecutarCli(argc, argv, std::cout, std::cerr);
}
