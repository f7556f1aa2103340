#include "framework/WindowRegistry.h"

namespace vlc {
namespace {

std::uintptr_t key(HWND hwnd) {
    return reinterpret_cast<std::uintptr_t>(hwnd);
}

// A namespace-scope object: built before WinMain runs and torn down after it returns.
WindowRegistry registry;

}  // namespace

void WindowRegistry::add(HWND hwnd, DialogWindow* window) {
    windows[key(hwnd)] = window;
}

void WindowRegistry::remove(HWND hwnd) {
    windows.erase(key(hwnd));
}

DialogWindow* WindowRegistry::find(HWND hwnd) const {
    const auto entry = windows.find(key(hwnd));
    return entry == windows.end() ? nullptr : entry->second;
}

WindowRegistry& windowRegistry() {
    return registry;
}

}  // namespace vlc
