#include <iostream>

#include "main/driver.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    int status = velmorn::run(argc, argv, std::cout);
    std::cout.flush();
    return status;
}
