#include "app/WindowLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

constexpr const char* kModule = "vorlagen-fenster.so";
constexpr const char* kEntry = "vorlagen_run_window";

// The executable's folder, without a trailing '/'; empty when unknown.
std::string exeFolder()
{
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || size_t(length) >= path.size())
        return {};
    path.resize(size_t(length));
    return path.substr(0, path.rfind('/'));
}

} // namespace

int runWindow(int argc, char* argv[])
{
    // Beside the executable in the build folder; where the install puts it
    // otherwise.
    const std::string folder = exeFolder();
    std::string path = folder + '/' + kModule;
    if (::access(path.c_str(), F_OK) != 0)
        path = folder + '/' + VORLAGEN_MODULE_FROM_BIN + '/' + kModule;
    void* module = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    void* entry = module ? ::dlsym(module, kEntry) : nullptr;
    if (!entry) {
        const char* reason = ::dlerror();
        std::fprintf(stderr, "Das Programmfenster ''%s'' kann nicht geladen werden: %s\n",
                     path.c_str(), reason ? reason : "unbekannter Fehler");
        return 1;
    }
    // Never unloaded: the window's statics live until the process ends.
    return reinterpret_cast<int (*)(int, char**)>(entry)(argc, argv);
}
