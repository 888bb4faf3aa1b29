#include "common/port_settings/win32/port_config_dialog.h"

#include <array>
#include <vector>

#include "common/port_settings/port_dialog_rules.h"
#include "common/port_settings/win32/port_dialog_ids.h"
#include "common/win32/account_names.h"
#include "common/win32/wide_text.h"

namespace tolvane {
namespace {

struct ListControl {
    PortList list;
    int control;
};
constexpr std::array<ListControl, kPortListCount> kListControls{{
    {PortList::kAddressBookType, IDC_BOOKTYPE},
    {PortList::kSysMode, IDC_SYSMODE},
    {PortList::kModem, IDC_LINE},
    {PortList::kPageSize, IDC_PAGESIZE},
    {PortList::kResolution, IDC_RESOLUTION},
    {PortList::kMaxDials, IDC_MAXDIALS},
    {PortList::kMaxTries, IDC_MAXTRIES},
    {PortList::kPriority, IDC_PRIORITY},
    {PortList::kValidity, IDC_VALIDITY},
}};

struct TextControl {
    int control;
    std::u16string PortSettings::*field;
};
constexpr std::array<TextControl, 7> kTextControls{{
    {IDC_SERVER, &PortSettings::server},
    {IDC_USERNAME, &PortSettings::username},
    {IDC_PASSWORD, &PortSettings::password},
    {IDC_SENDER, &PortSettings::sender},
    {IDC_ADVERTISING, &PortSettings::advertising},
    {IDC_BOOKFOLDER, &PortSettings::addressBookPath},
    {IDC_EMAIL, &PortSettings::defaultEmail},
}};

struct ControlText {
    int control;
    std::u16string_view key;
};
constexpr std::array<ControlText, 23> kControlTexts{{
    {IDC_STATIC_PORT, u"CONFIG_IDC_STATIC_PORT"},
    {IDC_BTN_ADD, u"CONFIG_IDC_BTN_ADD"},
    {IDC_BTN_DELETE, u"CONFIG_IDC_BTN_DELETE"},
    {IDC_STATIC_IP, u"CONFIG_IDC_STATIC_IP"},
    {IDC_CHECK_IGNORE, u"CONFIG_IDC_CHECK_IGNORE"},
    {IDC_STATIC_USER, u"CONFIG_IDC_STATIC_USER"},
    {IDC_STATIC_PWD, u"CONFIG_IDC_STATIC_PWD"},
    {IDC_STATIC_SENDER, u"CONFIG_IDC_STATIC_SENDER"},
    {IDC_STATIC_ADVER, u"CONFIG_IDC_STATIC_ADVER"},
    {IDC_STATIC_STYLE, u"CONFIG_IDC_STATIC_STYLE"},
    {IDC_STATIC_DIR, u"CONFIG_IDC_STATIC_DIR"},
    {IDC_STATIC_SYSTEM, u"CONFIG_IDC_STATIC_SYSTEM"},
    {IDC_STATIC_LINE, u"CONFIG_IDC_STATIC_LINE"},
    {IDC_STATIC_PAGESIZE, u"CONFIG_IDC_STATIC_PAGESIZE"},
    {IDC_STATIC_RESOLUTION, u"CONFIG_IDC_STATIC_RESOLUTION"},
    {IDC_STATIC_MAXDIALS, u"CONFIG_IDC_STATIC_MAXDIALS"},
    {IDC_STATIC_MAXTRIES, u"CONFIG_IDC_STATIC_MAXTRIES"},
    {IDC_STATIC_PRIORITY, u"CONFIG_IDC_STATIC_PRIORITY"},
    {IDC_STATIC_VALIDITY, u"CONFIG_IDC_STATIC_VALIDITY"},
    {IDC_CHECK_PROMPT, u"CONFIG_IDC_CHECK_PROMPT"},
    {IDC_STATIC_EMAIL, u"CONFIG_IDC_STATIC_EMAIL"},
    {IDOK, u"CONFIG_IDOK"},
    {IDCANCEL, u"CONFIG_IDCANCEL"},
}};

// A name typed into the add-port dialog may carry blanks and be refused for
// its length; more than this is never a port name.
constexpr int kTypedPortNameMaxChars = 64;

std::u16string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return ToU16(text.c_str());
}

void SetText(HWND window, const std::u16string& text) { SetWindowTextW(window, AsWide(text)); }

// The base of both dialogs: the context, the window, and message boxes.
class PortDialogWindow {
public:
    explicit PortDialogWindow(PortDialogContext& context) : context_(context) {}

protected:
    std::u16string Text(std::u16string_view key) const { return context_.text(key); }
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    void SetItemText(int id, std::u16string_view key) const { SetText(Item(id), Text(key)); }
    void Box(std::u16string_view key, UINT icon) const {
        MessageBoxW(window_, AsWide(Text(key)), AsWide(context_.boxCaption), MB_OK | icon);
    }

    PortDialogContext& context_;
    HWND window_ = nullptr;
};

class PortConfigWindow : public PortDialogWindow {
public:
    using PortDialogWindow::PortDialogWindow;
    ~PortConfigWindow() {
        if (banner_ != nullptr) DeleteObject(banner_);
    }
    PortConfigWindow(const PortConfigWindow&) = delete;
    PortConfigWindow& operator=(const PortConfigWindow&) = delete;

    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(window, DWLP_USER, lParam);
            auto* self = reinterpret_cast<PortConfigWindow*>(lParam);
            self->window_ = window;
            self->Open();
            return TRUE;
        }
        auto* self = reinterpret_cast<PortConfigWindow*>(GetWindowLongPtrW(window, DWLP_USER));
        if (self == nullptr || message != WM_COMMAND) return FALSE;
        const int id = LOWORD(wParam);
        if (id == IDC_PORTLIST && HIWORD(wParam) == CBN_SELCHANGE) {
            self->LoadPortSettings();
        } else if (HIWORD(wParam) == BN_CLICKED) {
            switch (id) {
            case IDOK:
                self->Save();
                break;
            case IDCANCEL:
                EndDialog(window, IDCANCEL);
                break;
            case IDC_BTN_ADD:
                self->AddPort();
                break;
            case IDC_BTN_DELETE:
                self->DeletePort();
                break;
            case IDC_BTN_PRINTER:
                self->TogglePrinter();
                break;
            default:
                return FALSE;
            }
        } else {
            return FALSE;
        }
        return TRUE;
    }

private:
    // The banner drawn once at the size its control has on this system (the
    // dialog's units follow its font), smoothly: the static control's own
    // stretching drops pixels.
    void FitBanner() {
        HWND control = Item(IDC_PORT_BANNER);
        RECT area{};
        GetClientRect(control, &area);
        HBITMAP source = static_cast<HBITMAP>(
            LoadImageW(PortDialogModule(), MAKEINTRESOURCEW(IDB_PORTBANNER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP size{};
        if (source == nullptr || GetObjectW(source, sizeof size, &size) == 0 || area.right <= 0 || area.bottom <= 0) {
            if (source != nullptr) DeleteObject(source);
            return;
        }
        HDC screen = GetDC(control);
        HDC from = CreateCompatibleDC(screen);
        HDC to = CreateCompatibleDC(screen);
        banner_ = CreateCompatibleBitmap(screen, area.right, area.bottom);
        HGDIOBJ oldFrom = SelectObject(from, source);
        HGDIOBJ oldTo = SelectObject(to, banner_);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, area.right, area.bottom, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
        DeleteDC(from);
        DeleteDC(to);
        ReleaseDC(control, screen);
        DeleteObject(source);
        HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
            SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_)));
        if (previous != nullptr && previous != banner_) DeleteObject(previous);
    }

    void Open() {
        FitBanner();
        for (const ListControl& list : kListControls) {
            for (const std::u16string& entry : PortListEntries(list.list))
                SendDlgItemMessageW(window_, list.control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AsWide(entry)));
        }
        // Every edit holds what the store keeps of a value, and no more.
        for (const TextControl& text : kTextControls)
            SendDlgItemMessageW(window_, text.control, EM_LIMITTEXT, kPortValueMaxChars, 0);
        fields_ = PortDialogOpeningSettings();
        ShowFields();
        ApplyConfigTexts();
        const bool manages = context_.actions.ManagesPorts();
        for (int id : {IDC_BTN_ADD, IDC_BTN_DELETE, IDC_BTN_PRINTER}) EnableWindow(Item(id), manages);
        FillPortList(context_.initialPort);
        LoadPortSettings();
    }

    void ApplyConfigTexts() {
        SetText(window_, Text(u"CONFIG_TITLE"));
        for (const ControlText& control : kControlTexts) SetItemText(control.control, control.key);
        SetText(Item(IDC_SYSACCOUNT), FormatAccountLine(Text(u"CONFIG_IDC_STATIC_SYSACCOUNT"), ProcessUserName(),
                                                        SessionUserName().value_or(u"")));
    }

    // The list anew from the ports there are; `wanted` selected, or the first.
    void FillPortList(const std::u16string& wanted) {
        HWND list = Item(IDC_PORTLIST);
        SendMessageW(list, CB_RESETCONTENT, 0, 0);
        const std::vector<std::u16string> ports = context_.actions.Ports();
        int selected = 0;
        for (std::size_t i = 0; i < ports.size(); ++i) {
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AsWide(ports[i])));
            if (ports[i] == wanted) selected = static_cast<int>(i);
        }
        if (!ports.empty()) SendMessageW(list, CB_SETCURSEL, selected, 0);
    }

    std::u16string SelectedPort() const { return WindowText(Item(IDC_PORTLIST)); }

    void TakeControls() {
        for (const TextControl& text : kTextControls) fields_.*text.field = WindowText(Item(text.control));
        for (const ListControl& list : kListControls)
            fields_.Selected(list.list) =
                static_cast<int>(SendDlgItemMessageW(window_, list.control, CB_GETCURSEL, 0, 0));
        fields_.ignorePassiveIp = IsDlgButtonChecked(window_, IDC_CHECK_IGNORE) == BST_CHECKED;
        fields_.confirm = IsDlgButtonChecked(window_, IDC_CHECK_PROMPT) == BST_CHECKED;
    }

    void ShowFields() {
        for (const TextControl& text : kTextControls) SetText(Item(text.control), fields_.*text.field);
        for (const ListControl& list : kListControls)
            SendDlgItemMessageW(window_, list.control, CB_SETCURSEL, fields_.Selected(list.list), 0);
        CheckDlgButton(window_, IDC_CHECK_IGNORE, fields_.ignorePassiveIp ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(window_, IDC_CHECK_PROMPT, fields_.confirm ? BST_CHECKED : BST_UNCHECKED);
    }

    void LoadPortSettings() {
        TakeControls();
        const std::u16string port = SelectedPort();
        const bool hasPrinter = !port.empty() && context_.actions.PrinterExists(PortPrinterName(port));
        SetItemText(IDC_BTN_PRINTER, hasPrinter ? u"CONFIG_IDC_DELETEPRINTER" : u"CONFIG_IDC_ADDPRINTER");
        if (port.empty()) {
            Box(u"CONFIG_IDC_WARNING", MB_ICONWARNING);
            return;
        }
        context_.actions.Load(port, fields_);
        ShowFields();
    }

    void Save() {
        TakeControls();
        const std::u16string port = SelectedPort();
        auto exists = [this](std::u16string_view folder) { return context_.actions.FolderExists(folder); };
        switch (JudgeSave(port, fields_.addressBookPath, exists)) {
        case SaveVerdict::kNoPort:
            return;
        case SaveVerdict::kFolderMissing:
            Box(u"CONFIG_IDC_DIR_NEXIST", MB_ICONWARNING);
            return;
        case SaveVerdict::kSave:
            break;
        }
        if (!context_.actions.Save(port, fields_)) {
            // The monitor's user interface saves through the monitor, which
            // takes the settings from administrators only.
            MessageBoxW(window_,
                        L"The fax settings of this port could not be saved. Changing them needs administrator rights.",
                        AsWide(context_.boxCaption), MB_OK | MB_ICONERROR);
            return;
        }
        EndDialog(window_, IDOK);
    }

    void AddPort() {
        RunAddPortDialog(window_, context_);
        FillPortList({});
        if (!SelectedPort().empty()) LoadPortSettings();
    }

    void DeletePort() {
        TakeControls();
        const int position = static_cast<int>(SendDlgItemMessageW(window_, IDC_PORTLIST, CB_GETCURSEL, 0, 0));
        const std::u16string port = SelectedPort();
        if (port.empty()) return;
        const std::u16string question = Text(u"CONFIG_IDC_COMFIRM") + port + u"?";
        if (MessageBoxW(window_, AsWide(question), L"", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
        if (!context_.actions.ChangeFaxPort(port, /*remove=*/true)) {
            Box(u"CONFIG_IDC_DELETE_FAIL", MB_ICONERROR);
            return;
        }
        SendDlgItemMessageW(window_, IDC_PORTLIST, CB_DELETESTRING, position, 0);
        SendDlgItemMessageW(window_, IDC_PORTLIST, CB_SETCURSEL, 0, 0);
        Box(u"CONFIG_IDC_DELETE_SUCCESS", MB_ICONINFORMATION);
        LoadPortSettings();
    }

    void TogglePrinter() {
        TakeControls();
        const std::u16string port = SelectedPort();
        if (port.empty()) return;
        if (context_.actions.PrinterExists(PortPrinterName(port))) {
            if (!context_.actions.RemovePortPrinter(port)) return Box(u"CONFIG_IDC_DELETEPRINTERFAIL", MB_ICONERROR);
            LoadPortSettings();
            Box(u"CONFIG_IDC_DELETEPRINTERSUCCESS", MB_ICONINFORMATION);
        } else {
            if (!context_.actions.AddPortPrinter(port)) return Box(u"CONFIG_IDC_ADDPRINTERFAIL", MB_ICONERROR);
            LoadPortSettings();
            Box(u"CONFIG_IDC_ADDPRINTERSUCCESS", MB_ICONINFORMATION);
        }
    }

    PortSettings fields_;
    HBITMAP banner_ = nullptr;
};

class AddPortWindow : public PortDialogWindow {
public:
    using PortDialogWindow::PortDialogWindow;

    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(window, DWLP_USER, lParam);
            auto* self = reinterpret_cast<AddPortWindow*>(lParam);
            self->window_ = window;
            self->Open();
            return TRUE;
        }
        auto* self = reinterpret_cast<AddPortWindow*>(GetWindowLongPtrW(window, DWLP_USER));
        if (self == nullptr || message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
        if (LOWORD(wParam) == IDOK) {
            self->Add();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

private:
    void Open() {
        SetText(window_, Text(u"ADDPORT_TITLE"));
        SetItemText(IDC_ADDPORT_LABEL, u"ADDPORT_PORT");
        SetItemText(IDOK, u"CONFIG_IDOK");
        SetItemText(IDCANCEL, u"CONFIG_IDCANCEL");
        SendDlgItemMessageW(window_, IDC_ADDPORT_NAME, EM_LIMITTEXT, kTypedPortNameMaxChars, 0);
    }

    void Add() {
        const NewPort port = JudgeNewPortName(WindowText(Item(IDC_ADDPORT_NAME)), context_.actions.Ports());
        SetText(Item(IDC_ADDPORT_NAME), port.name);
        switch (port.verdict) {
        case NewPortVerdict::kEmpty:
            return Box(u"ADDPORT_EMPTY", MB_ICONWARNING);
        case NewPortVerdict::kRefused:
            return Box(u"ADDPORT_FAIL", MB_ICONERROR);
        case NewPortVerdict::kExists:
            return Box(u"ADDPORT_EXIST", MB_ICONWARNING);
        case NewPortVerdict::kAdd:
            break;
        }
        if (!context_.actions.ChangeFaxPort(port.name, /*remove=*/false)) return Box(u"ADDPORT_FAIL", MB_ICONERROR);
        Box(u"ADDPORT_SUCCESS", MB_ICONINFORMATION);
        EndDialog(window_, IDOK);
    }
};

}  // namespace

HINSTANCE PortDialogModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&PortDialogModule), &module);
    return module;
}

INT_PTR RunPortConfigDialog(HWND owner, PortDialogContext& context) {
    PortConfigWindow window(context);
    return DialogBoxParamW(PortDialogModule(), MAKEINTRESOURCEW(IDD_PORTCONFIG), owner, PortConfigWindow::Procedure,
                           reinterpret_cast<LPARAM>(&window));
}

INT_PTR RunAddPortDialog(HWND owner, PortDialogContext& context) {
    AddPortWindow window(context);
    return DialogBoxParamW(PortDialogModule(), MAKEINTRESOURCEW(IDD_ADDPORT), owner, AddPortWindow::Procedure,
                           reinterpret_cast<LPARAM>(&window));
}

}  // namespace tolvane
