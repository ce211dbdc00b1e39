#include "CupsLibrary.h"

#include <dlfcn.h>

namespace {

template <class F> bool Resolve(void* library, const char* name, F& function)
{
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

bool ResolveAll(void* library, TCups& c)
{
    return Resolve(library, "httpConnect2", c.Connect) && Resolve(library, "httpClose", c.Close) &&
           Resolve(library, "httpSetTimeout", c.SetTimeout) && Resolve(library, "cupsServer", c.Server) &&
           Resolve(library, "ippPort", c.Port) && Resolve(library, "cupsEncryption", c.Encryption) &&
           Resolve(library, "cupsLastError", c.LastError) &&
           Resolve(library, "cupsLastErrorString", c.LastErrorString) &&
           Resolve(library, "cupsGetNamedDest", c.GetNamedDest) && Resolve(library, "cupsFreeDests", c.FreeDests) &&
           Resolve(library, "cupsGetOption", c.GetOption) && Resolve(library, "cupsCopyDestInfo", c.CopyDestInfo) &&
           Resolve(library, "cupsFreeDestInfo", c.FreeDestInfo) &&
           Resolve(library, "cupsFindDestDefault", c.FindDestDefault) &&
           Resolve(library, "cupsGetDestMediaByName", c.GetDestMediaByName) &&
           Resolve(library, "ippGetValueTag", c.GetValueTag) && Resolve(library, "ippGetCount", c.GetCount) &&
           Resolve(library, "ippGetResolution", c.GetResolution) && Resolve(library, "ippGetInteger", c.GetInteger) &&
           Resolve(library, "ippGetCollection", c.GetCollection) &&
           Resolve(library, "ippFindAttribute", c.FindAttribute) && Resolve(library, "cupsGetPPD2", c.GetPPD) &&
           Resolve(library, "cupsCreateDestJob", c.CreateDestJob) &&
           Resolve(library, "cupsStartDestDocument", c.StartDestDocument) &&
           Resolve(library, "cupsWriteRequestData", c.WriteRequestData) &&
           Resolve(library, "cupsFinishDestDocument", c.FinishDestDocument) &&
           Resolve(library, "cupsCancelDestJob", c.CancelDestJob);
}

} // namespace

const TCups* Cups()
{
    static const TCups* const loaded = []() -> const TCups* {
        void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return nullptr;
        static TCups cups;
        return ResolveAll(library, cups) ? &cups : nullptr;
    }();
    return loaded;
}
