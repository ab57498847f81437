#include "app/win32/AppWindow.h"

#include "app/Commands.h"
#include "localization/UserLanguage.h"
#include "platform/AppLocation.h"
#include "settings/SettingsLifecycle.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace tvx {
namespace {

constexpr wchar_t kMainClassName[] = L"Tavro.MainWindow";
constexpr int kMainWindowWidth = 980;
constexpr int kMainWindowHeight = 760;
constexpr int kIconResource = 101;

// The work area of the monitor under the mouse, or the primary one.
RECT WorkAreaUnderMouse() {
    RECT work{};
    POINT cursor{};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetCursorPos(&cursor)) {
        HMONITOR monitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
        if (monitor && GetMonitorInfoW(monitor, &info)) work = info.rcWork;
    }
    if (work.left == 0 && work.top == 0 && work.right == 0 && work.bottom == 0)
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

}  // namespace

AppWindow::~AppWindow() {
    inspector_.Destroy();
    inspectorWorker_.Stop();
    structView_.Destroy();
    structWorker_.Stop();
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

std::u16string AppWindow::Text(std::string_view key) { return strings_.GetText(key); }

bool AppWindow::Create(HINSTANCE instance, std::optional<std::u16string> path) {
    instance_ = instance;
    pendingPath_ = std::move(path);
    // The string table's base directory is the executable's directory (StringTable()).
    settingsPath_ = ComputeSettingsPath(platform::ExecutableDirectory());
    LoadSettingsAtStartup(settings_, settingsPath_, DefaultLanguageForUser());
    strings_.SetLanguage(settings_.language);
    inspectorWorker_.Start();
    structWorker_.Start();

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
    (void)HexViewWindow::RegisterWindowClass(instance);  // a failure only loses the hex view

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    wc.hIconSm = wc.hIcon;
    wc.lpszClassName = kMainClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    RECT outer{0, 0, kMainWindowWidth, kMainWindowHeight};
    AdjustWindowRectExForDpi(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0, GetDpiForSystem());
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const RECT work = WorkAreaUnderMouse();
    const int x = work.left + std::max(0, static_cast<int>(work.right - work.left - width) / 2);
    const int y = work.top + std::max(0, static_cast<int>(work.bottom - work.top - height) / 2);
    if (!CreateWindowExW(0, kMainClassName, L"Tavro", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height, nullptr,
                         nullptr, instance, this))
        return false;

    // The edit keys (Ctrl+Z, Ctrl+C, ...) are the hex view's own, so other windows keep theirs.
    ACCEL table[] = {{FVIRTKEY | FCONTROL, 'F', kCmdFind},     {FVIRTKEY | FCONTROL, 'G', kCmdGoTo},
                     {FVIRTKEY | FCONTROL, 'R', kCmdReadOnly}, {FVIRTKEY | FCONTROL, 'O', kCmdOpen},
                     {FVIRTKEY | FCONTROL, 'S', kCmdSave},     {FVIRTKEY | FCONTROL | FSHIFT, 'S', kCmdSaveAs},
                     {FVIRTKEY | FCONTROL, 'H', kCmdReplace},
                     {FVIRTKEY, VK_F3, kCmdFindNextAgain},     {FVIRTKEY | FSHIFT, VK_F3, kCmdFindPreviousAgain}};
    accelerators_ = CreateAcceleratorTableW(table, static_cast<int>(std::size(table)));
    return accelerators_ != nullptr;
}

int AppWindow::RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (accelerators_ && TranslateAcceleratorW(window_, accelerators_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK AppWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<AppWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<AppWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT AppWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            DragAcceptFiles(window_, TRUE);
            return 0;
        case WM_SIZE:
            LayoutChildren();
            if (statusBar_) SendMessageW(statusBar_, WM_SIZE, 0, 0);
            return 0;
        case WM_MOVE:
            PositionInspectorWindow();
            PositionStructViewWindow();
            return 0;
        case WM_SETFOCUS:
            if (!hexView_.Window()) break;
            SetFocus(hexView_.Window());
            return 0;
        case WM_DPICHANGED: OnDpiChanged(wParam, lParam); return 0;
        case WM_ACTIVATE:
            // Asked after the activation is complete, not inside it.
            if (LOWORD(wParam) != WA_INACTIVE) PostMessageW(window_, WM_APP + kAppCheckDiskChange, 0, 0);
            break;
        case WM_APP + kAppCheckDiskChange: OfferReloadIfChanged(); return 0;
        case WM_DESTROY: OnDestroy(); return 0;
        case WM_CLOSE:
            if (busy_) return 0;  // a save is running
            if (ConfirmSaveChanges()) DestroyWindow(window_);
            return 0;
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam))) return 0;
            break;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.hwndItem == statusBar_) return DrawStatusBar(item);
            break;
        }
        case WM_INITMENUPOPUP: UpdateMenuGraying(); break;
        case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
        case WM_TIMER:
            if (wParam != 1) break;
            EndFlash();
            return 0;
        case WM_APP + kAppDocumentChanged:
            UpdateTitle();
            RefreshStatusBar();
            RequestInspectorValues();
            RequestStructValues();
            return 0;
        case WM_APP + kAppInspectorResult: OnInspectorResult(lParam); return 0;
        case WM_APP + kAppStructResult: OnStructResult(lParam); return 0;
        case WM_APP + kAppInspectorClosed:
        case WM_APP + kAppStructViewClosed:
        case WM_APP + kAppStructViewChooseFile:
        case WM_APP + kAppStructViewUnload:
        case WM_APP + kAppStructViewReload:
        case WM_APP + kAppStructFormat:
            // The side windows' commands arrive through the save's message pump: refused
            // like the grayed menu until the save ends.
            if (!busy_) OnSideWindowCommand(message - WM_APP, wParam);
            return 0;
        case WM_APP + kAppReadOnlyBlocked: FlashReadOnlyNotice(); return 0;
        case WM_APP + kAppViewStatusChanged: RefreshStatusBar(); return 0;
        case WM_APP + kAppPasteRefused: ShowPasteRefused(wParam); return 0;
        case WM_APP + kAppConfirmLargeCopy: return ConfirmLargeCopy() ? 1 : 0;
        case WM_APP + kAppCopyFailed: ShowError("error.copy_failed"); return 0;
        case WM_CONTEXTMENU: ShowContextMenu(reinterpret_cast<HWND>(wParam), lParam); return 0;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void AppWindow::OnSideWindowCommand(UINT offset, WPARAM wParam) {
    switch (offset) {
        case kAppInspectorClosed: OnInspectorClosed(); return;
        case kAppStructViewClosed: OnStructViewClosed(); return;
        case kAppStructViewChooseFile: ChooseStructPatternFile(); return;
        case kAppStructViewUnload: UnloadStructPattern(); return;
        case kAppStructViewReload: ReloadStructPattern(); return;
        case kAppStructFormat: ChangeStructFormat(wParam); return;
        default: return;
    }
}

void AppWindow::OnCreate() {
    RebuildMenu();
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                 window_, nullptr, instance_, nullptr);
    hexView_.Create(window_, instance_);
    HexView& view = hexView_.View();
    view.SetDocument(&document_);
    view.SetChangedQuery(
        [this](std::uint64_t offset, std::uint64_t length) { return document_.IsChangedRange(offset, length); });
    view.SetEncoding(settings_.encoding);
    view.SetTheme(settings_.theme);
    view.SetFont(settings_.fontFamily, settings_.fontSize, settings_.bold, settings_.italic);
    if (settings_.dataInspectorVisible) (void)EnsureInspectorWindow();
    if (settings_.structViewVisible && EnsureStructViewWindow()) RefreshStructViewTexts();
    RebuildMenu();
    LayoutChildren();
    ColorStatusBar();
    UpdateTitle();
    RefreshStatusBar();
    RequestInspectorValues();
    RequestStructValues();
    if (pendingPath_) {
        OpenFile(*pendingPath_);
        pendingPath_.reset();
    }
}

void AppWindow::LayoutChildren() {
    if (!window_ || !hexView_.Window()) return;
    RECT client{};
    GetClientRect(window_, &client);
    int statusHeight = 0;
    if (statusBar_) {
        SendMessageW(statusBar_, WM_SIZE, 0, 0);
        RECT bar{};
        GetWindowRect(statusBar_, &bar);
        statusHeight = bar.bottom - bar.top;
    }
    MoveWindow(hexView_.Window(), 0, 0, client.right - client.left,
               std::max(0, static_cast<int>(client.bottom - client.top) - statusHeight), TRUE);
    PositionInspectorWindow();
    PositionStructViewWindow();
}

void AppWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    hexView_.View().SetDpi(HIWORD(wParam));  // 0 counts as 96
    LayoutChildren();
    RefreshStatusBar();
}

void AppWindow::OnDestroy() {
    inspector_.Destroy();
    inspectorWorker_.Stop();
    structView_.Destroy();
    structWorker_.Stop();
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    accelerators_ = nullptr;
    PostQuitMessage(0);
}

}  // namespace tvx
