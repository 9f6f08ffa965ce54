#include "common_controls.h"

namespace {

HMODULE commonControls;

template <typename Function>
Function* Find(const char* name)
{
    FARPROC found = commonControls ? GetProcAddress(commonControls, name) : nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(found));
}

}  // namespace

bool LoadCommonControls()
{
    if (!commonControls)
        commonControls = LoadLibraryA("comctl32.dll");
    // Loaded by name, the version the manifest asks for still comes: the
    // activation context is looked at before any folder.
    auto* init = Find<BOOL WINAPI(const INITCOMMONCONTROLSEX*)>("InitCommonControlsEx");
    const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    return init && init(&classes);
}

HIMAGELIST CreateIconList(int size, int initial, int grow)
{
    auto* create = Find<HIMAGELIST WINAPI(int, int, UINT, int, int)>("ImageList_Create");
    return create ? create(size, size, ILC_MASK, initial, grow) : nullptr;
}

int AddIconToList(HIMAGELIST list, HICON icon)
{
    auto* replace = Find<int WINAPI(HIMAGELIST, int, HICON)>("ImageList_ReplaceIcon");
    return replace && list ? replace(list, -1, icon) : -1;
}

void DestroyIconList(HIMAGELIST list)
{
    auto* destroy = Find<BOOL WINAPI(HIMAGELIST)>("ImageList_Destroy");
    if (destroy && list)
        destroy(list);
}
