// arc4random for the static C++ runtime of the Linux release editors (cmake/linux-static-qt.cmake).
// Debian 12's libstdc++ was built against glibc 2.36, the first with arc4random, and its
// std::random_device calls it: linked as it is, the editors would need glibc 2.36 and not start
// on Ubuntu 22.04 (glibc 2.35). The same bytes from the kernel's random source, through
// getrandom (glibc 2.25).
#include <cstdint>
#include <sys/random.h>

extern "C" std::uint32_t arc4random()
{
    std::uint32_t value = 0;
    while (getrandom(&value, sizeof value, 0) != static_cast<ssize_t>(sizeof value)) {
    }
    return value;
}
