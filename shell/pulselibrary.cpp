#include "shell/pulselibrary.h"

#include <dlfcn.h>
#include <memory>

namespace shell
{

namespace
{

constexpr char kLibrary[] = "libpulse.so.0";

template <class Function> bool find(void* library, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

std::unique_ptr<PulseLibrary> load()
{
    // Kept for the rest of the process: its code is all the next sound needs.
    void* library = dlopen(kLibrary, RTLD_LAZY | RTLD_LOCAL);
    if (!library)
        return nullptr;
    auto pulse = std::make_unique<PulseLibrary>();
#define LOZETTA_PULSE_FIND(name) find(library, pulse->name, #name)&&
    const bool complete = LOZETTA_PULSE_FUNCTIONS(LOZETTA_PULSE_FIND) true;
#undef LOZETTA_PULSE_FIND
    return complete ? std::move(pulse) : nullptr;
}

} // namespace

const PulseLibrary* PulseLibrary::get()
{
    static const std::unique_ptr<PulseLibrary> library = load();
    return library.get();
}

} // namespace shell
