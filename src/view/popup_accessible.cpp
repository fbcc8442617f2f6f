#include "view/popup_accessible.h"

#include <new>
#include <utility>

namespace mw {

namespace {

// A child id as VARIANT (VT_I4); CHILDID_SELF is the list itself.
VARIANT ChildVariant(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

} // namespace

struct PopupAccessible final : IAccessible {
    explicit PopupAccessible(AccessibleListState s) : state(std::move(s)) {}

    LONG references = 1;
    bool connected = true;
    AccessibleListState state;

    // The entry a child id names, or -1 (CHILDID_SELF and ids out of range).
    int EntryOf(long child) const {
        return child >= 1 && child <= static_cast<long>(state.entries.size()) ? static_cast<int>(child - 1)
                                                                              : -1;
    }
    // S_OK for the list or a valid child, else the error to answer.
    HRESULT Check(const VARIANT& child, int* entry) const {
        if (!connected)
            return RPC_E_DISCONNECTED;
        if (child.vt != VT_I4)
            return E_INVALIDARG;
        *entry = EntryOf(child.lVal);
        return child.lVal == CHILDID_SELF || *entry >= 0 ? S_OK : E_INVALIDARG;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, IID_IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: clients use the IAccessible methods themselves.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!connected)
            return RPC_E_DISCONNECTED;
        return CreateStdAccessibleObject(state.popup, OBJID_WINDOW, IID_IDispatch,
                                         reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count)
            return E_POINTER;
        *count = connected ? static_cast<long>(state.entries.size()) : 0;
        return connected ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        int entry = -1;
        const HRESULT checked = Check(child, &entry);
        // The entries are simple elements that this object describes itself.
        return FAILED(checked) ? checked : entry >= 0 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name)
            return E_POINTER;
        *name = nullptr;
        int entry = -1;
        const HRESULT checked = Check(child, &entry);
        if (FAILED(checked))
            return checked;
        const std::wstring& text = entry >= 0 ? state.entries[static_cast<size_t>(entry)].name : state.name;
        *name = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override { return NoText(value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override { return NoText(text); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role)
            return E_POINTER;
        VariantInit(role);
        int entry = -1;
        const HRESULT checked = Check(child, &entry);
        if (FAILED(checked))
            return checked;
        *role = ChildVariant(entry >= 0 ? ROLE_SYSTEM_LISTITEM : ROLE_SYSTEM_LIST);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        int entry = -1;
        const HRESULT checked = Check(child, &entry);
        if (FAILED(checked))
            return checked;
        long flags = STATE_SYSTEM_FOCUSABLE;
        if (entry >= 0) {
            flags |= STATE_SYSTEM_SELECTABLE;
            if (entry == state.selected)
                flags |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
        } else if (GetForegroundWindow() == state.popup) {
            flags |= STATE_SYSTEM_FOCUSED;
        }
        *out = ChildVariant(flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return NoText(help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file)
            *file = nullptr;
        if (topic)
            *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override { return NoText(keys); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return SelectedChild(focus); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return SelectedChild(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* action) override { return NoText(action); }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        int entry = -1;
        const HRESULT checked = Check(child, &entry);
        if (FAILED(checked))
            return checked;
        RECT r{};
        if (entry >= 0) {
            r = state.entries[static_cast<size_t>(entry)].row;
            MapWindowPoints(state.popup, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
        } else if (!GetWindowRect(state.popup, &r)) {
            return E_FAIL;
        }
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end)
            return E_POINTER;
        VariantInit(end);
        int entry = -1;
        const HRESULT checked = Check(start, &entry);
        if (FAILED(checked))
            return checked;
        const long count = static_cast<long>(state.entries.size());
        long to = 0;
        if (entry < 0 && (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)) {
            to = direction == NAVDIR_FIRSTCHILD ? 1 : count;
        } else if (entry >= 0 && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN)) {
            to = entry + 2;
        } else if (entry >= 0 && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP)) {
            to = entry;
        }
        if (to < 1 || to > count)
            return S_FALSE;
        *end = ChildVariant(to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit)
            return E_POINTER;
        VariantInit(hit);
        if (!connected)
            return RPC_E_DISCONNECTED;
        POINT p{x, y};
        RECT window{};
        if (!GetWindowRect(state.popup, &window) || !PtInRect(&window, p))
            return S_FALSE;
        ScreenToClient(state.popup, &p);
        long child = CHILDID_SELF;
        for (size_t i = 0; i < state.entries.size(); ++i) {
            if (PtInRect(&state.entries[i].row, p))
                child = static_cast<long>(i + 1);
        }
        *hit = ChildVariant(child);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    static HRESULT NoText(BSTR* text) {
        if (!text)
            return E_POINTER;
        *text = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT SelectedChild(VARIANT* out) const {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        if (!connected)
            return RPC_E_DISCONNECTED;
        if (state.selected < 0 || state.selected >= static_cast<int>(state.entries.size()))
            return S_FALSE;
        *out = ChildVariant(state.selected + 1);
        return S_OK;
    }
};

int SelectedEntryIndex(const SelectionState& state) {
    if (!IsValidEntry(state, state.section, state.index))
        return -1;
    switch (state.section) {
    case SectionWindows:
        return state.index;
    case SectionLauncher:
        return state.windowCount + state.index;
    default:
        return state.windowCount + state.launcherCount + state.index;
    }
}

AccessibleListState DescribePopupList(HWND popup, const std::wstring& name, const SelectionState& state,
                                      const Design& design, bool desktopRow, const ItemList& windows,
                                      const LauncherList& launchers, const ItemList& commands) {
    AccessibleListState described;
    described.popup = popup;
    described.name = name;
    const struct {
        int section;
        int count;
        const std::wstring& (*name)(const void* list, int index);
        const void* list;
    } sections[] = {
        {SectionWindows, state.windowCount,
         [](const void* l, int i) -> const std::wstring& {
             return static_cast<const ItemList*>(l)->slots[i].name;
         },
         &windows},
        {SectionLauncher, state.launcherCount,
         [](const void* l, int i) -> const std::wstring& {
             return static_cast<const LauncherList*>(l)->slots[i].name;
         },
         &launchers},
        {SectionCommands, state.commandCount,
         [](const void* l, int i) -> const std::wstring& {
             return static_cast<const ItemList*>(l)->slots[i].name;
         },
         &commands},
    };
    for (const auto& s : sections) {
        for (int i = 0; i < s.count && i < ListCapacity; ++i) {
            AccessibleEntry entry;
            entry.name = s.name(s.list, i);
            GetEntryRect(state, design, desktopRow, s.section, i, &entry.row);
            described.entries.push_back(std::move(entry));
        }
    }
    described.selected = SelectedEntryIndex(state);
    return described;
}

PopupAccessible* CreatePopupAccessible(AccessibleListState state) {
    return new (std::nothrow) PopupAccessible(std::move(state));
}

void UpdatePopupAccessible(PopupAccessible* object, AccessibleListState state) {
    if (object && object->connected)
        object->state = std::move(state);
}

void DisconnectPopupAccessible(PopupAccessible* object) {
    if (!object)
        return;
    object->connected = false;
    object->state = AccessibleListState{};
}

void ReleasePopupAccessible(PopupAccessible* object) {
    if (object)
        object->Release();
}

IAccessible* AccessibleOf(PopupAccessible* object) {
    return object;
}

LRESULT AnswerGetObject(PopupAccessible* object, WPARAM wParam, LPARAM lParam) {
    if (!object || !object->connected || static_cast<LONG>(lParam) != OBJID_CLIENT)
        return 0;
    return LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(object));
}

void NotifyEntrySelected(HWND popup, int index) {
    if (!popup || index < 0)
        return;
    NotifyWinEvent(EVENT_OBJECT_FOCUS, popup, OBJID_CLIENT, index + 1);
    NotifyWinEvent(EVENT_OBJECT_SELECTION, popup, OBJID_CLIENT, index + 1);
}

} // namespace mw
