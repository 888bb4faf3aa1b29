#include "setup/win32/setup_main_dialog.h"

#include <commctrl.h>

#include "common/win32/wide_text.h"
#include "setup/spooler_control.h"
#include "setup/win32/install_paths.h"
#include "common/language/notice_text.h"
#include "setup/win32/port_configuration.h"
#include "setup/win32/setup_resource_ids.h"
#include "setup/win32/shell_integration.h"
#include "setup/win32/system_facts.h"
#include "common/win32/account_names.h"
#include "setup/win32/win32_file_system.h"

namespace tolvane {
namespace {

constexpr wchar_t kInformationCaption[] = L"Information";
constexpr wchar_t kNoticeCaption[] = L"Notice";
// Language.ini is a few kilobytes; anything near this is not that file.
constexpr std::size_t kLanguageFileMaxBytes = 4 * 1024 * 1024;
constexpr std::u16string_view kDefaultLanguage = u"EN";

// Language.ini has no text for this moment: the objects are gone, but the
// spooler that a removal restarts did not come back.
constexpr wchar_t kSpoolerNotRestartedText[] =
    L"The printer was removed, but the print spooler did not start again.\r\n"
    L"Start the \"Spooler\" service (or restart Windows) before printing.";

// The label key of each control that ApplyLanguage relabels.
struct Label {
    int id;
    std::u16string_view key;
};
constexpr Label kLabels[] = {
    {IDC_STATIC_OS, u"IDC_STATIC_OS"},
    {IDC_STATIC_PWL, u"IDC_STATIC_PWL"},
    {IDC_STATIC_PRINTERTYPE, u"IDC_STATIC_PRINTERTYPE"},
    {IDC_RADIO_TVN, u"IDC_RADIO_TVN"},
    {IDC_RADIO_QLN, u"IDC_RADIO_QLN"},
    {IDC_BTN_INSTALL, u"IDC_BTN_INSTALL"},
    {IDC_BTN_UNINSTALL, u"IDC_BTN_UNINSTALL"},
    {IDC_BTN_TEST, u"IDC_BTN_TEST"},
    {IDC_BTN_CONFIG, u"IDC_BTN_CONFIG"},
};

std::u16string Key(PrinterKind kind, std::u16string_view suffix) {
    return (kind == PrinterKind::kQuillon ? u"QLN" : u"TVN") + std::u16string(suffix);
}

int Box(HWND owner, const std::u16string& text, const wchar_t* caption, UINT flags) {
    return MessageBoxW(owner, AsWide(text), caption, flags);
}

INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, LOWORD(wParam));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        EndDialog(window, IDCANCEL);
        return TRUE;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

SetupMainDialog::SetupMainDialog(HINSTANCE instance, const SetupVariant& variant, SetupLog& log,
                                 PortDialogsOpener portDialogs)
    : instance_(instance), session_(variant, log, *this, /*quiet=*/false), portDialogs_(portDialogs) {}

void SetupMainDialog::Run() {
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_SETUP_MAIN), nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK SetupMainDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<SetupMainDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->window_ = window;
    }
    auto* dialog = reinterpret_cast<SetupMainDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    try {
        return dialog->Handle(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dialog manager; the dialog
        // stays usable and the operation counts as not done.
        return FALSE;
    }
}

INT_PTR SetupMainDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;  // the system sets the focus
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
            DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ABOUTBOX), window_, AboutProc, 0);
            return TRUE;
        }
        return FALSE;
    case WM_PAINT:
        return OnPaintMinimized() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(icon_);
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        EndDialog(window_, IDCANCEL);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        break;
    }
    (void)lParam;
    return FALSE;
}

void SetupMainDialog::OnInitDialog() {
    CheckRadioButton(window_, IDC_RADIO_TVN, IDC_RADIO_QLN, IDC_RADIO_TVN);

    wchar_t about[256] = {};
    if (LoadStringW(instance_, IDS_ABOUTBOX, about, 256) > 0) {
        HMENU systemMenu = GetSystemMenu(window_, FALSE);
        if (systemMenu != nullptr) {
            AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }

    icon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

    const std::u16string osLine = session_.OsLine();
    SetItemText(IDC_STATIC_OSLINE, osLine);
    SetupLog& log = session_.Log();
    log.Write(u"Program Start Running...", kLogSuccess);
    log.Write(osLine, kLogSuccess);

    SendDlgItemMessageW(window_, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SetBarPosition(0);

    FillLanguageList();
    std::u16string language(kDefaultLanguage);
    if (session_.Variant().remembersLanguage) language = ReadDefaultLanguage(session_.SettingsFile());
    ApplyLanguage(language);
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (sections_[i] == language) {
            SendDlgItemMessageW(window_, IDC_LANGUAGE, CB_SETCURSEL, i, 0);
            break;
        }
    }

    if (!session_.IsAdmin()) {
        const std::wstring caption = ToWide(session_.Variant().programName);
        Box(window_, adminWarning_, caption.c_str(), MB_OK);
        log.Write(u"User is not Administrator!", kLogFailure);
        for (int id : {IDC_BTN_INSTALL, IDC_BTN_UNINSTALL, IDC_BTN_TEST}) EnableWindow(GetDlgItem(window_, id), FALSE);
    }

    MarkCompatibilityPersisted(ProgramPath());
}

void SetupMainDialog::OnCommand(int id, int code) {
    switch (id) {
    case IDC_BTN_INSTALL:
    case IDC_BTN_UNINSTALL:
    case IDC_BTN_TEST: {
        if (code != BN_CLICKED) return;
        // Ruddock's template hides these buttons, yet Return still "presses"
        // the hidden default button: only a button the user can see acts.
        HWND button = GetDlgItem(window_, id);
        if (!IsWindowVisible(button) || !IsWindowEnabled(button)) return;
        if (id == IDC_BTN_INSTALL) OnInstall();
        if (id == IDC_BTN_UNINSTALL) OnUninstall();
        if (id == IDC_BTN_TEST) OnTest();
        return;
    }
    case IDC_BTN_CONFIG:
        if (code == BN_CLICKED) OnConfig();
        return;
    case IDC_LANGUAGE:
        if (code == CBN_SELCHANGE) OnLanguageChanged();
        return;
    case IDC_RADIO_TVN:
    case IDC_RADIO_QLN:
        if (code == BN_CLICKED) OnPrinterKind(id == IDC_RADIO_QLN);
        return;
    case IDOK:
    case IDCANCEL:
        EndDialog(window_, id);
        return;
    default:
        return;
    }
}

void SetupMainDialog::OnInstall() {
    session_.PlaceTool();
    const PrinterKind kind = SelectedKind();
    SetBarPosition(0);
    SetItemText(IDC_STATIC_OP, installStart_);
    const SetupOutcome outcome = session_.Install(kind);
    if (outcome == SetupOutcome::kSuccess) {
        SetItemText(IDC_STATIC_OP, installSuccess_);
        Box(nullptr, installSuccess_, kInformationCaption, MB_OK | MB_ICONINFORMATION);
        if (kind == PrinterKind::kTolvane) ConfigureAfterInstall();
    } else {
        SetItemText(IDC_STATIC_OP, installFailure_);
        Box(nullptr, installFailure_, kInformationCaption, MB_OK | MB_ICONERROR);
    }
}

void SetupMainDialog::ConfigureAfterInstall() {
    if (!session_.Variant().hasPortDialogs)
        ConfigureMonitorPort(session_.Bitness());
    else if (portDialogs_ != nullptr)
        portDialogs_(nullptr, language_, session_.Variant().programName);
}

void SetupMainDialog::OnUninstall() {
    const PrinterKind kind = SelectedKind();
    SetBarPosition(0);
    const std::u16string confirm = Text(Key(kind, u"_MSG_UNINSTALL_CONFIRM"));
    if (Box(nullptr, confirm, kInformationCaption, MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
    SetItemText(IDC_STATIC_OP, uninstallStart_);
    const SetupOutcome outcome = session_.Uninstall(kind);
    if (outcome == SetupOutcome::kSpoolerNotRestarted)
        MessageBoxW(nullptr, kSpoolerNotRestartedText, kInformationCaption, MB_OK | MB_ICONINFORMATION);
    if (outcome == SetupOutcome::kSuccess) {
        SetItemText(IDC_STATIC_OP, uninstallSuccess_);
        Box(nullptr, uninstallSuccess_, kInformationCaption, MB_OK | MB_ICONINFORMATION);
    } else {
        SetItemText(IDC_STATIC_OP, uninstallFailure_);
        Box(nullptr, uninstallFailure_, kInformationCaption, MB_OK | MB_ICONERROR);
    }
    session_.RemoveToolUnlessPrinterLeft();
}

void SetupMainDialog::OnTest() {
    ServiceControl& services = session_.Machine().services;
    if (!IsSpoolerRunning(services) && !StartSpooler(services)) {
        SetProgress(100);
        return;
    }
    const PrinterKind kind = SelectedKind();
    if (!session_.PrinterExists(kind)) {
        Box(nullptr, Text(Key(kind, u"_MSG_TEST")), kInformationCaption, MB_OK);
        return;
    }
    const std::u16string printer(kind == PrinterKind::kQuillon ? u"Quillon Printer" : u"Tolvane");
    services.StartCommand(u"rundll32 printui.dll,PrintUIEntry /k /n \"" + printer + u"\" ");
}

void SetupMainDialog::OnConfig() {
    if (!session_.Variant().hasPortDialogs) {
        // Ruddset: the monitor's own dialog, when the printer is there.
        ServiceControl& services = session_.Machine().services;
        if (!IsSpoolerRunning(services) && !StartSpooler(services)) {
            SetProgress(100);
            return;
        }
        if (session_.PrinterExists(PrinterKind::kTolvane))
            ConfigureMonitorPort(session_.Bitness());
        else
            Box(nullptr, Text(u"TVN_MSG_TEST"), kInformationCaption, MB_OK);
        return;
    }
    // Without the terminal services' answer there is nothing to compare, and
    // the configuration stays reachable.
    const std::optional<std::u16string> sessionUser = SessionUserName();
    const std::u16string processUser = ProcessUserName();
    if (sessionUser && *sessionUser != processUser) {
        const std::u16string text =
            ExpandWrittenLineBreaks(FormatNotice(notice_, {*sessionUser, processUser, processUser}));
        if (Box(window_, text, kNoticeCaption, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    }
    if (PortsKeyExists()) {
        if (portDialogs_ != nullptr) portDialogs_(nullptr, language_, session_.Variant().programName);
    } else {
        const std::wstring caption = ToWide(session_.Variant().programName);
        Box(window_, Text(u"TVN_MSG_TEST"), caption.c_str(), MB_OK);
    }
}

void SetupMainDialog::OnLanguageChanged() {
    std::u16string section;
    if (!SelectedSection(section)) return;
    ApplyLanguage(section);
    if (!session_.Variant().remembersLanguage) return;
    session_.Machine().files.CreateFolder(session_.InstallFolder());
    WriteDefaultLanguage(session_.SettingsFile(), section);
}

void SetupMainDialog::OnPrinterKind(bool raster) {
    std::u16string section;
    // With no language list (no Language.ini) the texts stay as they are.
    if (SelectedSection(section)) ApplyLanguage(section);
    EnableWindow(GetDlgItem(window_, IDC_BTN_CONFIG), raster ? FALSE : TRUE);
}

void SetupMainDialog::OnDestroy() {
    HWND list = GetDlgItem(window_, IDC_LANGUAGE);
    for (auto i = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0)); i > 0; --i)
        SendMessageW(list, CB_DELETESTRING, static_cast<WPARAM>(i - 1), 0);
    sections_.clear();
    session_.Log().Write(u"End Program!", kLogSuccess);
    if (icon_ != nullptr) DestroyIcon(icon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
    icon_ = smallIcon_ = nullptr;
}

bool SetupMainDialog::OnPaintMinimized() {
    if (!IsIconic(window_)) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(window_, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(window_, &paint);
    return true;
}

void SetupMainDialog::LoadLanguageFile() {
    const std::u16string path = session_.LanguageFile();
    std::string bytes;
    if (!ReadFileBytes(path, kLanguageFileMaxBytes, bytes)) bytes.clear();
    language_.SetFile(path, bytes);
}

void SetupMainDialog::FillLanguageList() {
    LoadLanguageFile();
    HWND list = GetDlgItem(window_, IDC_LANGUAGE);
    for (const std::u16string& section : language_.Document().SectionNames()) {
        if (language_.SetSection(section) != 0) continue;  // a name too long for the tool
        const std::u16string name = language_.Read(u"LANGUAGE");
        const auto index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AsWide(name)));
        if (index < 0) continue;
        SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(sections_.size()));
        sections_.push_back(section);
    }
    SendMessageW(list, CB_SETCURSEL, 0, 0);
}

void SetupMainDialog::ApplyLanguage(const std::u16string& section) {
    LoadLanguageFile();
    language_.SetSection(section);

    adminWarning_ = Text(u"ID_MSG_ADMIN");
    completeLabel_ = Text(u"ID_MSG_COMPLETE");
    notice_ = Text(u"ID_MSG_NOTICE");

    const PrinterKind kind = SelectedKind();
    CheckRadioButton(window_, IDC_RADIO_TVN, IDC_RADIO_QLN,
                     kind == PrinterKind::kQuillon ? IDC_RADIO_QLN : IDC_RADIO_TVN);
    installStart_ = Text(Key(kind, u"_MSG_INSTALL_START"));
    installSuccess_ = Text(Key(kind, u"_MSG_INSTALL_SUCCESS"));
    installFailure_ = Text(Key(kind, u"_MSG_INSTALL_FAIL"));
    uninstallStart_ = Text(Key(kind, u"_MSG_UNINSTALL_START"));
    uninstallSuccess_ = Text(Key(kind, u"_MSG_UNINSTALL_SUCCESS"));
    uninstallFailure_ = Text(Key(kind, u"_MSG_UNINSTALL_FAIL"));

    for (const Label& label : kLabels) SetItemText(label.id, Text(label.key));

    // A status line other than the idle text shows an operation's result:
    // the new language's idle text replaces it and the bar starts over.
    const std::u16string shown = ItemText(IDC_STATIC_OP);
    const std::u16string previousIdle = idleStatus_;
    idleStatus_ = Text(u"IDC_STATIC_OP");
    SetItemText(IDC_STATIC_OP, idleStatus_);
    SetItemText(IDC_STATIC_COMPLETE, Text(u"IDC_STATIC_COMPLETE"));
    if (!firstLoad_ && shown != previousIdle) SetProgress(0);
    firstLoad_ = false;
}

void SetupMainDialog::SetProgress(int position) {
    if (window_ == nullptr) return;
    SetBarPosition(position);
    SetItemText(IDC_STATIC_COMPLETE, completeLabel_ + u":" + ToU16(std::to_wstring(position)) + u"%");
    // The operation blocks the message loop: show the step now.
    UpdateWindow(window_);
}

void SetupMainDialog::SetBarPosition(int position) {
    SendDlgItemMessageW(window_, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

bool SetupMainDialog::SelectedSection(std::u16string& section) const {
    const LRESULT index = SendDlgItemMessageW(window_, IDC_LANGUAGE, CB_GETCURSEL, 0, 0);
    if (index < 0) return false;
    const LRESULT item = SendDlgItemMessageW(window_, IDC_LANGUAGE, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (item < 0 || static_cast<std::size_t>(item) >= sections_.size()) return false;
    section = sections_[static_cast<std::size_t>(item)];
    return true;
}

PrinterKind SetupMainDialog::SelectedKind() const {
    return IsDlgButtonChecked(window_, IDC_RADIO_QLN) == BST_CHECKED ? PrinterKind::kQuillon : PrinterKind::kTolvane;
}

void SetupMainDialog::SetItemText(int id, const std::u16string& text) { SetDlgItemTextW(window_, id, AsWide(text)); }

std::u16string SetupMainDialog::ItemText(int id) const {
    HWND item = GetDlgItem(window_, id);
    const int length = GetWindowTextLengthW(item);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(item, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return ToU16(text);
}

}  // namespace tolvane
