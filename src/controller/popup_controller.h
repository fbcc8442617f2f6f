// The popup's state machine: opening on the hook's message, moving the selection, the mouse and
// keys of stay-open mode, painting, and closing by a choice or a cancel.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "model/icon_cache.h"
#include "model/item_list.h"
#include "controller/popup_narrowing.h"
#include "controller/thumbnails.h"
#include "controller/timers.h"
#include "settings/preferences.h"
#include "platform/dpi.h"
#include "platform/unique_handle.h"
#include "view/design.h"
#include "view/layout.h"
#include "view/popup_accessible.h"
#include "view/render.h"
#include "view/theme.h"

namespace mw {

constexpr UINT kEdgeTimerMilliseconds = 50;
constexpr UINT kRepositionGuardMilliseconds = 500;

// Fills the popup list with the windows to switch to. Tests substitute their own source.
using WindowSource = void (*)(ItemList& list, int iconSize);

// Everything that exists only while the popup is open; the controller holds one exactly then.
// Its end is the close sequence, whatever path closes it: the thumbnails unregistered, the
// windows the frame preview put away brought back, the overlay windows destroyed.
struct PopupSession {
    explicit PopupSession(const SystemServices& systemServices) : services(&systemServices) {}
    ~PopupSession();
    PopupSession(const PopupSession&) = delete;
    PopupSession& operator=(const PopupSession&) = delete;

    const SystemServices* services;
    // The DPI of the monitor the popup opened on and the design in its pixels: every size of the
    // open popup, its overlays and its mouse handling comes from these.
    UINT dpi = kDefaultDpi;
    Design design;
    ItemList list; // the listed windows
    SelectionState selection;
    bool altTabOpened = false;
    HWND closeTarget = nullptr;
    HWND previousForeground = nullptr; // the foreground window when the popup opened
    bool repositionGuard = false;
    UniqueWindow frameWindow;
    UniqueWindow iconWindow;
    PopupSurface surface;
    ThumbnailSet thumbnails;
    SelectionTools selectionTools;   // font and brushes of the selection
    SelectionState paintedSelection; // the selection as last drawn on screen
    bool selectionPainted = false;   // false until the first paint
    PopupNarrowing narrowing;        // the typed filter and the monitor scope
    std::vector<HWND> closing;       // windows a middle click asked to close, until they go
    int wheelRemainder = 0;          // WM_MOUSEWHEEL deltas short of a whole notch
    int tiltRemainder = 0;           // WM_MOUSEHWHEEL deltas short of a whole notch
    std::vector<HWND> stacking;      // the listed windows front first, before the grouping
    bool firstAltTabStep = false;    // opened by Alt+Tab, and its first step is still to come
    bool hookKnowsListOpen = false;  // hook.dll was told this Alt+Tab list stays open
    std::wstring header;             // the line above the list as last drawn (empty: none)
    // What screen readers see of the list, and the entry they were last told is selected.
    UniquePopupAccessible accessible;
    int toldSelection = -1;
    // The frame preview put the other listed windows away (hidden with previewHides, else
    // minimised) and has not brought them back: the close sequence does, unless the close path
    // ended the preview itself first.
    bool previewPutAway = false;
    bool previewHides = false;
};

struct ControllerState {
    std::optional<PopupSession> popup;   // present exactly while the popup is open
    IconCache iconCache;                 // window and file icon copies kept between opens
    WindowSource windowSource = nullptr; // null: the real top-level windows
    ThemeReaders themeReaders;           // null members: the system's own
};

struct Application;

// Closes whatever is open without acting and forgets everything (tests, shutdown).
void ResetController(Application& app);

// Brings back every window the frame preview put away, if a popup is open (shutdown, log-off).
void RestoreWhatThePreviewHid(Application& app);

bool PopupIsOpen(Application& app);

// The two derived modes, evaluated anew at every use.
bool StayOpenMode(bool altTabOpened, const Preferences& prefs);
bool FramePreviewHolds(bool altTabOpened, const Preferences& prefs);

// Brings the icons of the launcher entries and command entries to `pixels` x `pixels` when they
// were loaded at another size (a popup opening on a monitor of another DPI than the last one).
void PrepareListIcons(Application& app, int pixels);

// Where the window's top must go so the selected row stays on the monitor; false when it fits.
// A row taller than the monitor is top-aligned on it.
bool KeepSelectionOnMonitor(int windowTop, int selectionTop, int selectionBottom, int monitorTop,
                            int monitorBottom, int* newTop);

// Which edge timer a cursor at screenY starts: kTimerStepForward near the lower edge,
// kTimerStepBack near the upper one, 0 in between.
UINT_PTR EdgeTimerFor(int screenY, const RECT& monitor, int itemSpace, int iconSize);

// What a key does in stay-open mode.
enum class KeyAction { None, Next, Previous, Choose, Cancel };
KeyAction KeyActionFor(WPARAM virtualKey, bool shiftDown);

// Asks a window to close as the close command entry does: WM_CLOSE is posted to a window that
// still exists and has a title. False when nothing was asked.
bool AskWindowToClose(HWND window);

// How the list to show came about: the popup opened, its narrowing changed, or a window entry
// left it (the selection is then already set).
enum class ListChange { Opened, Narrowed, Removed };

// Shows the popup's list as it now stands, for every change: drawn and sized, the selection's
// counts set (after an open or a narrowing the selection goes to window `keptWindow` when it is
// listed, else by the narrowing's rule), the thumbnails, the frame preview and the icon window
// made for the new rows, centred on the popup's monitor; after a change of an open popup, the
// mouse moves that its move makes are ignored for a moment. `previewLostItsWindow`: the window
// the frame preview showed went, and the one now selected comes forward.
void Present(Application& app, HWND hwnd, ListChange change, int keptWindow = -1,
             bool previewLostItsWindow = false);

// Message handlers of the main window; each answers 0.
LRESULT OnOpenPopup(Application& app, HWND hwnd, LPARAM lParam);
LRESULT OnMoveSelection(Application& app, HWND hwnd, WPARAM wParam);
LRESULT OnChoose(Application& app, HWND hwnd);
LRESULT OnCancel(Application& app, HWND hwnd);
LRESULT OnMouseMove(Application& app, HWND hwnd, LPARAM lParam);
LRESULT OnLeftButtonUp(Application& app, HWND hwnd);
LRESULT OnWheel(Application& app, HWND hwnd, WPARAM wParam, LPARAM lParam);
// WM_MOUSEWHEEL on the popup: its deltas are added up and each whole notch is one OnWheel step.
LRESULT OnMouseWheel(Application& app, HWND hwnd, WPARAM wParam, LPARAM lParam);
LRESULT OnTimer(Application& app, HWND hwnd, WPARAM id);
LRESULT OnPaint(Application& app, HWND hwnd);
LRESULT OnActivateApp(Application& app, HWND hwnd, WPARAM active);
// Any activation away from a popup that stays open cancels it, the program's own dialogs too.
LRESULT OnActivate(Application& app, HWND hwnd, WPARAM state);
LRESULT OnKeyDown(Application& app, HWND hwnd, WPARAM virtualKey);
// Typed characters narrow a stay-open popup's list (TypeToFilter).
LRESULT OnChar(Application& app, HWND hwnd, WPARAM character);
// The tilt wheel sets the popup's scope: the hook's message during a gesture (wParam 1 right, 0
// left), WM_MOUSEHWHEEL on a popup that stays open (delta > 0 right).
LRESULT OnTilt(Application& app, HWND hwnd, WPARAM right);
LRESULT OnHorizontalWheel(Application& app, HWND hwnd, WPARAM wParam);
// The hook's kMsgProgramScope: the list narrows to the selected window's program, or lists every
// window again.
LRESULT OnProgramScope(Application& app, HWND hwnd);
// The key above Tab: VK_OEM_3 on a US layout, the scan code wherever the layout names it
// otherwise.
constexpr int kScanCodeAboveTab = 0x29;
bool IsProgramScopeKey(WPARAM virtualKey, LPARAM keyData);
// That key in a popup that stays open (with ProgramScopeKey on) does what kMsgProgramScope does;
// false when the key is not that key or nothing is open, and it goes on as other keys do.
bool OnProgramScopeKey(Application& app, HWND hwnd, WPARAM virtualKey, LPARAM keyData);

} // namespace mw
