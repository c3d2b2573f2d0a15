// arc4random for the program that carries its own libstdc++ (the Linux archive's):
// libstdc++'s std::random_device calls it, and glibc has it only from 2.36, which
// would shut out every older system. This one reads the kernel's generator through
// getrandom (glibc 2.25, Linux 3.17), as glibc's own does.
#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

extern "C" std::uint32_t arc4random() noexcept {
  std::uint32_t value = 0;
  auto* bytes = reinterpret_cast<unsigned char*>(&value);
  std::size_t got = 0;
  while (got < sizeof value) {
    const ssize_t n = getrandom(bytes + got, sizeof value - got, 0);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EINTR) {
      // Like glibc's: with no source of randomness there is no safe value to return.
      std::abort();
    }
  }
  return value;
}
