#include "ui/window_services.h"

#include <cstdio>
#include <cstdlib>

namespace mitoran {
namespace {
std::unique_ptr<WindowServices>& installed() {
    static std::unique_ptr<WindowServices> s;
    return s;
}
}  // namespace

WindowServices& services() {
    auto& s = installed();
    if (!s) {
        // Showing real boxes behind a test's back would hang it; failing loudly is kinder.
        std::fputs("mitoran: window services used before any were installed\n", stderr);
        std::abort();
    }
    return *s;
}

void setServices(std::unique_ptr<WindowServices> s) { installed() = std::move(s); }

}  // namespace mitoran
