#include "common/send_fax_form/win32/send_fax_form.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "common/win32/ansi_text.h"
#include "common/send_fax_form/win32/header_picture.h"
#include "common/send_fax_form/win32/recipient_name_dialog.h"
#include "common/send_fax_form/win32/send_fax_form_ids.h"
#include "common/send_fax_form/win32/send_fax_layout.h"

namespace tolvane {

namespace {

constexpr UINT_PTR kCountdownTimer = 1;
constexpr wchar_t kErrorCaption[] = L"Korrim";

constexpr std::array<const wchar_t*, 9> kLineItems{L"Any",   L"FAX1",  L"FAX2",  L"FAX3", L"FAX4",
                                                   L"FoIP1", L"FoIP2", L"FoIP3", L"FoIP4"};
constexpr std::array<const wchar_t*, 3> kResolutionItems{L"Standard", L"Fine", L"Superfine"};
constexpr std::array<const wchar_t*, 4> kPriorityItems{L"Low", L"Normal", L"High", L"Highest"};

template <std::size_t N>
void FillList(HWND combo, const std::array<const wchar_t*, N>& items) {
    for (const wchar_t* item : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

// An index outside the list leaves the box without a selection (and empty).
void SelectIndex(HWND combo, int index) {
    const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    SendMessageW(combo, CB_SETCURSEL, (index >= 0 && index < count) ? index : -1, 0);
}

struct OwnedDialogs {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOwnedDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<OwnedDialogs*>(data);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpW(className, L"#32770") != 0) return TRUE;
    for (HWND owner = GetWindow(window, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER)) {
        if (owner == search->owner) {
            search->found.push_back(window);
            break;
        }
    }
    return TRUE;
}

int TestCountdownStart() {
    char value[16] = {};
    const DWORD length = GetEnvironmentVariableA("KORRIM_TEST_COUNTDOWN_SECONDS", value, sizeof(value));
    if (length == 0 || length >= sizeof(value)) return CountdownStartFromTestSetting(std::nullopt);
    return CountdownStartFromTestSetting(std::string(value, length));
}

}  // namespace

FaxAnswers ShowSendFaxForm(HINSTANCE resources, const FaxRequests& requests) {
    Win32SendFaxForm form(resources);
    return RunSendFaxForm(form, requests);
}

void ShowJobConfirmBox(std::u16string_view text) {
    MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(kJobConfirmCaption).c_str(), MB_OK | MB_SETFOREGROUND);
}

Win32SendFaxForm::Win32SendFaxForm(HINSTANCE resources) : resources_(resources), countdown_(TestCountdownStart()) {}

Win32SendFaxForm::~Win32SendFaxForm() {
    if (window_) DestroyWindow(window_);
    if (picture_) DeleteObject(picture_);
    if (titleFont_) DeleteObject(titleFont_);
    if (whiteBrush_) DeleteObject(whiteBrush_);
}

std::u16string Win32SendFaxForm::Prepare(const FormRequest& request) {
    request_ = request;
    // The address book loads while the window is being created (WM_INITDIALOG).
    window_ = CreateDialogParamW(resources_, MAKEINTRESOURCEW(IDD_FAXSEND), nullptr, DialogProc,
                                 reinterpret_cast<LPARAM>(this));
    if (!window_) return {};
    Fill(request);
    return ToU16(Text(IDC_ABNAMES));
}

bool Win32SendFaxForm::ShowModal() {
    if (!window_) return false;
    // The countdown can end before the form is shown, in an error box of the
    // address book's loading; the form then stays cancelled.
    if (modalResult_ != 0) return modalResult_ == IDOK;
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    MSG message;
    while (modalResult_ == 0) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            modalResult_ = IDCANCEL;
            break;
        }
        if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    KillTimer(window_, kCountdownTimer);
    ShowWindow(window_, SW_HIDE);
    return modalResult_ == IDOK;
}

FormFields Win32SendFaxForm::Fields() {
    FormFields fields;
    if (!window_) return fields;
    fields.faxNumbers = ToU16(Text(IDC_FAXNUMBER));
    fields.addressBookText = ToU16(Text(IDC_ABNAMES));
    fields.lineIndex = SelectedIndex(IDC_MODEM);
    fields.sender = ToU16(Text(IDC_SENDER));
    fields.resolutionIndex = SelectedIndex(IDC_RESOLUTION);
    fields.priorityIndex = SelectedIndex(IDC_PRIORITY);
    fields.notifyEmail = ToU16(Text(IDC_NOTIFYEMAIL));
    return fields;
}

void Win32SendFaxForm::ShowJobConfirm(const std::u16string& text) { ShowJobConfirmBox(text); }

INT_PTR CALLBACK Win32SendFaxForm::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        auto* form = reinterpret_cast<Win32SendFaxForm*>(lParam);
        form->window_ = window;
        form->Build();
        return TRUE;
    }
    auto* form = reinterpret_cast<Win32SendFaxForm*>(GetWindowLongPtrW(window, DWLP_USER));
    return form ? form->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR Win32SendFaxForm::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:  // Send button or Enter
            Close(IDOK);
            return TRUE;
        case IDCANCEL:  // Cancel button, Esc, or any other way of closing
            Close(IDCANCEL);
            return TRUE;
        case IDC_TOADDRESSBOOK:
            if (HIWORD(wParam) == BN_CLICKED) SaveNumber();
            return TRUE;
        case IDC_DELETEFROMAB:
            if (HIWORD(wParam) == BN_CLICKED) DeleteEntry();
            return TRUE;
        case IDC_ABNAMES:
            if (HIWORD(wParam) == CBN_SELCHANGE) AddressBookPicked();
            if (HIWORD(wParam) == CBN_EDITCHANGE) AddressBookTyped();
            return TRUE;
        }
        break;
    case WM_TIMER:
        if (wParam == kCountdownTimer) CountdownTick();
        return TRUE;
    case WM_PAINT:
        PaintPanels();
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id == IDC_LABEL4 || id == IDC_DOCUMENT || id == IDC_IMAGE1) {
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
            return reinterpret_cast<INT_PTR>(whiteBrush_);
        }
        break;
    }
    }
    return FALSE;
}

void Win32SendFaxForm::Build() {
    ApplyLayout(window_, kSendFaxClientSize, SendFaxPlacements(), nullptr);
    whiteBrush_ = CreateSolidBrush(RGB(255, 255, 255));

    // The title: "MS Sans Serif" bold, -19 pixels at 96 dpi.
    LOGFONTW font{};
    lstrcpynW(font.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    font.lfHeight = -ScaleToScreen(19);
    font.lfWeight = FW_BOLD;
    font.lfCharSet = DEFAULT_CHARSET;
    titleFont_ = CreateFontIndirectW(&font);
    SendDlgItemMessageW(window_, IDC_LABEL4, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), FALSE);

    picture_ = LoadHeaderPicture(resources_);
    if (picture_) {
        SendDlgItemMessageW(window_, IDC_IMAGE1, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_));
    }

    FillList(GetDlgItem(window_, IDC_MODEM), kLineItems);
    FillList(GetDlgItem(window_, IDC_RESOLUTION), kResolutionItems);
    FillList(GetDlgItem(window_, IDC_PRIORITY), kPriorityItems);
    SetDlgItemTextW(window_, IDC_ABNAMES, L"Select from AddressBook");
    SetDlgItemTextW(window_, IDC_RESOLUTION, L"hResolution");
    SetDlgItemTextW(window_, IDC_PRIORITY, L"hPriority");
    // Texts longer than the conversation carries are cut while typing.
    for (int id : {IDC_FAXNUMBER, IDC_SENDER, IDC_NOTIFYEMAIL}) {
        SendDlgItemMessageW(window_, id, EM_LIMITTEXT, kMaxMessageUnits, 0);
    }
    for (int id : {IDC_ABNAMES, IDC_MODEM, IDC_RESOLUTION, IDC_PRIORITY}) {
        SendDlgItemMessageW(window_, id, CB_LIMITTEXT, kMaxMessageUnits, 0);
    }

    SetTimer(window_, kCountdownTimer, 1000, nullptr);
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetForegroundWindow(window_);
    LoadAddressBook();
}

void Win32SendFaxForm::Fill(const FormRequest& request) {
    SetDlgItemTextW(window_, IDC_DOCUMENT, (Text(IDC_DOCUMENT) + ToWide(request.documentName)).c_str());
    SelectIndex(GetDlgItem(window_, IDC_MODEM), request.lineIndex);
    SetDlgItemTextW(window_, IDC_SENDER, ToWide(request.sender).c_str());
    SelectIndex(GetDlgItem(window_, IDC_RESOLUTION), request.resolutionIndex);
    SelectIndex(GetDlgItem(window_, IDC_PRIORITY), request.priorityIndex);
    SetDlgItemTextW(window_, IDC_NOTIFYEMAIL, ToWide(request.notifyEmail).c_str());
}

void Win32SendFaxForm::LoadAddressBook() {
    addressBook_ =
        std::make_unique<AddressBook>(request_.addressBookType, WideToAnsi(ToWide(request_.addressBookFolder)), files_);
    const FileError error = addressBook_->Load();
    HWND names = GetDlgItem(window_, IDC_ABNAMES);
    for (const std::string& name : addressBook_->Names()) {
        SendMessageW(names, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AnsiToWide(name).c_str()));
    }
    SetWindowTextW(names, L"Select from AddressBook");
    if (error) ShowFileError(*error);
}

void Win32SendFaxForm::AddressBookPicked() {
    const int index = SelectedIndex(IDC_ABNAMES);
    if (index < 0) return;
    const auto number = addressBook_->NumberAt(static_cast<std::size_t>(index));
    if (!number) {
        ShowFileError("The address book has no fax number for this entry.");
        return;
    }
    SetDlgItemTextW(window_, IDC_FAXNUMBER, AnsiToWide(*number).c_str());
}

// A name typed in full picks its entry as a selection does. A typed name
// without a number leaves the fax number alone, with no box in the middle of
// the typing.
void Win32SendFaxForm::AddressBookTyped() {
    if (!addressBook_) return;  // the layout's own text, before the book loads
    const auto index = addressBook_->EntryNamed(WideToAnsi(Text(IDC_ABNAMES)));
    if (!index) return;
    if (const auto number = addressBook_->NumberAt(*index)) {
        SetDlgItemTextW(window_, IDC_FAXNUMBER, AnsiToWide(*number).c_str());
    }
}

void Win32SendFaxForm::SaveNumber() {
    const std::wstring number = Text(IDC_FAXNUMBER);
    // Refused before the user types a name for it.
    if (const auto refusal = addressBook_->RefusalToStore({}, WideToAnsi(number))) {
        ShowFileError(*refusal);
        return;
    }
    const auto name = AskRecipientName(resources_, window_, number, &nameDialog_);
    if (!name || name->empty()) return;
    const std::size_t countBefore = addressBook_->Count();
    const FileError error = addressBook_->Add(WideToAnsi(*name), WideToAnsi(number));
    if (addressBook_->Count() > countBefore) {
        // The box gets every entry the book gained: the new one and any empty
        // names that evened out the two files, so its items stay the book's.
        HWND names = GetDlgItem(window_, IDC_ABNAMES);
        const auto shown = static_cast<std::size_t>(SendMessageW(names, CB_GETCOUNT, 0, 0));
        for (std::size_t i = shown; i < addressBook_->Count(); ++i) {
            SendMessageW(names, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(AnsiToWide(addressBook_->Names()[i]).c_str()));
        }
        SendMessageW(names, CB_SETCURSEL, static_cast<WPARAM>(addressBook_->Count() - 1), 0);
    }
    if (error) ShowFileError(*error);
}

void Win32SendFaxForm::DeleteEntry() {
    const int index = SelectedIndex(IDC_ABNAMES);
    if (index < 0) return;
    const FileError error = addressBook_->Remove(static_cast<std::size_t>(index));
    SendDlgItemMessageW(window_, IDC_ABNAMES, CB_DELETESTRING, index, 0);
    if (error) {
        ShowFileError(*error);
        return;
    }
    SendDlgItemMessageW(window_, IDC_ABNAMES, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetDlgItemTextW(window_, IDC_ABNAMES, L"");
    SetDlgItemTextW(window_, IDC_FAXNUMBER, L"");
}

void Win32SendFaxForm::CountdownTick() {
    const bool cancel = countdown_.Tick();
    const std::u16string caption = CountdownCaption(ToU16(Text(IDC_TIMETOCANCEL)), countdown_.SecondsLeft());
    SetDlgItemTextW(window_, IDC_TIMETOCANCEL, ToWide(caption).c_str());
    if (!cancel) return;
    CloseWindowsOpenedOverTheForm();
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window_, IDCANCEL)));
}

// The name dialog closes not accepted, and every error box nobody answered
// closes too: the form answers the host only once its own modal loop runs
// again, and an unattended box would keep it from ever answering.
void Win32SendFaxForm::CloseWindowsOpenedOverTheForm() {
    OwnedDialogs search{window_, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectOwnedDialog, reinterpret_cast<LPARAM>(&search));
    for (HWND dialog : search.found) {
        if (dialog == nameDialog_) {
            CancelRecipientNameDialog(dialog);
        } else {
            // A message box takes this as Esc, which closes even one with OK only.
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    }
}

void Win32SendFaxForm::Close(int result) {
    if (modalResult_ == 0) modalResult_ = result;
}

void Win32SendFaxForm::PaintPanels() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    for (const PanelBand& panel : SendFaxPanels()) {
        RECT band{ScaleToScreen(panel.left), ScaleToScreen(panel.top), ScaleToScreen(panel.left + panel.width),
                  ScaleToScreen(panel.top + panel.height)};
        if (panel.white) FillRect(dc, &band, whiteBrush_);
        DrawEdge(dc, &band, BDR_RAISEDINNER, BF_RECT);
    }
    EndPaint(window_, &paint);
}

void Win32SendFaxForm::ShowFileError(const std::string& message) {
    MessageBoxW(window_, AnsiToWide(message).c_str(), kErrorCaption, MB_OK | MB_ICONERROR);
}

std::wstring Win32SendFaxForm::Text(int id) const {
    HWND control = GetDlgItem(window_, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

int Win32SendFaxForm::SelectedIndex(int id) const {
    return static_cast<int>(SendDlgItemMessageW(window_, id, CB_GETCURSEL, 0, 0));
}

}  // namespace tolvane
