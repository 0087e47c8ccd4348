#include <iostream>

#include "main/driver.h"
#include "support/heap_pages.h"

int main(int argc, char** argv)
{
    velmorn::heapInLargePages();
    std::ios::sync_with_stdio(false);
    const int status = velmorn::run(argc, argv, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
