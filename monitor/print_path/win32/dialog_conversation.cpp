#include "monitor/print_path/win32/dialog_conversation.h"

#include <chrono>

#include "common/conversation_pipe_name.h"
#include "common/send_fax_form/countdown.h"
#include "monitor/print_path/win32/dialog_launch.h"
#include "monitor/win32/monitor.h"
#include "monitor/win32/monitor_trace.h"

namespace tolvane {

namespace {

// Korrim.exe is a small program: on the busiest terminal server it is up and
// connected well within this.
constexpr DWORD kConnectLimitMs = 60'000;
// From the connection to the last answer: the form's countdown, then a margin
// for a slow start and for the name dialog closing with it.
constexpr DWORD kAnswerLimitMs = (kCountdownStartSeconds + 60) * 1000;
// The confirmation is read as soon as it is written.
constexpr DWORD kConfirmationLimitMs = 30'000;
// Longer than one conversation takes at most (connect, answers, and the
// submission before a confirmation, whose every network wait has a limit).
constexpr auto kTurnWait = std::chrono::minutes(10);

std::wstring FixedPipeName() { return std::wstring(kConversationPipePath.begin(), kConversationPipePath.end()); }

// The fixed pipe serves one conversation at a time (an older Korrim.exe).
std::timed_mutex& ConversationTurn() {
    static std::timed_mutex turn;
    return turn;
}

void TracePipeFailure(std::u16string_view text, std::u16string_view caption) {
    const std::u16string line = std::u16string(caption) + u": " + std::u16string(text);
    TraceStep(L"%ls", AsWide(line));
}

}  // namespace

namespace {

// The monitor's own box sits in the spooler: when nobody answers it (no one at
// the console, or a system that shows the spooler's windows on no desktop),
// it closes by itself so the document's thread goes on.
constexpr UINT kOwnBoxLimitMs = 10 * 60 * 1000;

BOOL CALLBACK CloseDialogWindow(HWND window, LPARAM) {
    wchar_t windowClass[16] = L"";
    if (GetClassNameW(window, windowClass, 16) > 0 && lstrcmpW(windowClass, L"#32770") == 0) EndDialog(window, IDOK);
    return TRUE;
}

// Runs inside the box's own message loop, on its thread.
VOID CALLBACK CloseUnansweredBox(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), CloseDialogWindow, 0);
}

}  // namespace

bool ShowMonitorMessage(std::u16string_view text, std::u16string_view caption) {
    const std::u16string copy(text);
    const std::u16string title(caption);
    const UINT_PTR timer = SetTimer(nullptr, 0, kOwnBoxLimitMs, CloseUnansweredBox);
    const int shown = MessageBoxW(nullptr, AsWide(copy), AsWide(title), MB_OK | MB_SETFOREGROUND);
    if (timer != 0) KillTimer(nullptr, timer);
    return shown != 0;
}

void ShowJobConfirmMessage(std::u16string_view text) { ShowMonitorMessage(text, kJobConfirmCaption); }

DialogProgramConversation::DialogProgramConversation(bool monitorConfirms)
    : launch_(DialogProgramLaunch()),
      ownPipe_(launch_ && DialogProgramTakesRole(launch_->applicationPath, kPipeRole)),
      pipeName_(ownPipe_ ? std::wstring(AsWide(NewConversationPipeName(GetCurrentProcessId()))) : FixedPipeName()),
      pipe_(/*isHost=*/true, pipeName_, TracePipeFailure),
      conversation_(pipe_.Peer(), monitorConfirms, ShowJobConfirmMessage) {
    if (!ownPipe_) turn_ = std::unique_lock<std::timed_mutex>(ConversationTurn(), kTurnWait);
    if (ownPipe_) pipe_.SetOnlyActingUserMayConnect();
    pipe_.SetConnectLimit(kConnectLimitMs);
}

std::optional<ClientLaunch> DialogProgramConversation::Launch(bool notice) const {
    if (!launch_) return std::nullopt;
    ClientLaunch launch = *launch_;
    std::wstring arguments;
    if (ownPipe_) arguments = L" " + std::wstring(kPipeArgument.begin(), kPipeArgument.end()) + L" " + pipeName_;
    if (notice) arguments += L" " + std::wstring(kNoticeArgument.begin(), kNoticeArgument.end());
    if (!arguments.empty()) launch.commandLine = L"\"" + launch.applicationPath + L"\"" + arguments;
    return launch;
}

DialogProgramConversation::~DialogProgramConversation() { EndConversation(); }

void DialogProgramConversation::EndConversation() {
    pipe_.Close();
    if (turn_.owns_lock()) turn_.unlock();
}

namespace {

// Opens the host end and starts Korrim.exe as the user the thread acts for.
bool OpenWithLaunch(Pipe& pipe, const ClientLaunch& launch) {
    LaunchIdentity identity;
    pipe.SetClientLaunch(launch);
    bool open = pipe.Open();
    if (!open && pipe.LastError() == ERROR_NOT_ALL_ASSIGNED) {
        // The process does not hold the privilege to assign a primary token
        // (a spooler outside the system account, as under Wine); the system
        // then decides on its own whether the launch may go on.
        ClientLaunch plain = launch;
        plain.enableAssignPrimaryTokenPrivilege = false;
        pipe.SetClientLaunch(plain);
        open = pipe.Open();
    }
    return open;
}

}  // namespace

bool DialogProgramConversation::Ask(const FaxRequests& requests, FaxAnswers& answers) {
    if (!ownPipe_ && !turn_.owns_lock()) {
        turnMissed_ = true;
        TraceStep(L"another document's conversation did not end within %d minutes: this one gets no form",
                  static_cast<int>(kTurnWait.count()));
        return false;
    }
    const std::optional<ClientLaunch> launch = Launch(/*notice=*/false);
    if (!launch) {
        TraceStep(L"the system folder of Korrim.exe cannot be read (error %lu)", GetLastError());
        return false;
    }
    TraceStep(L"starting %ls on %ls", launch->applicationPath.c_str(), pipeName_.c_str());
    if (!OpenWithLaunch(pipe_, *launch)) {
        TraceStep(L"the dialog program did not connect (error %lu)", pipe_.LastError());
        return false;
    }
    pipe_.SetTimeLimit(kAnswerLimitMs);
    const bool answered = conversation_.Ask(requests, answers);
    TraceStep(L"dialog answered \"%ls\"", AsWide(answers.result));
    if (!conversation_.ClientWaitsForConfirmation()) EndConversation();
    return answered;
}

bool DialogProgramConversation::Notify(std::u16string_view text) {
    EndConversation();
    if (turnMissed_) return false;  // the fixed pipe is still busy with another document
    std::unique_lock<std::timed_mutex> turn;
    if (!ownPipe_) {
        turn = std::unique_lock<std::timed_mutex>(ConversationTurn(), kTurnWait);
        if (!turn.owns_lock()) {
            TraceStep(L"no turn for the notice within %d minutes", static_cast<int>(kTurnWait.count()));
            return false;
        }
    }
    const std::optional<ClientLaunch> launch = Launch(/*notice=*/true);
    if (!launch) return false;
    if (!DialogProgramTakesRole(launch->applicationPath, kNoticeRole)) {
        TraceStep(L"%ls shows no notices (an older one): the user cannot be told", launch->applicationPath.c_str());
        return false;
    }
    TraceStep(L"starting %ls with a notice", launch->applicationPath.c_str());
    // The form's conversation is over and its pipe closed: the notice's has the same name.
    Pipe pipe(/*isHost=*/true, pipeName_, TracePipeFailure);
    if (ownPipe_) pipe.SetOnlyActingUserMayConnect();
    pipe.SetConnectLimit(kConnectLimitMs);
    if (!OpenWithLaunch(pipe, *launch)) {
        TraceStep(L"Korrim.exe did not connect for the notice (error %lu)", pipe.LastError());
        return false;
    }
    pipe.SetTimeLimit(kConfirmationLimitMs);
    const bool written = pipe.Peer().Write(text);
    pipe.Close();
    return written;
}

void DialogProgramConversation::Confirm(std::u16string_view text) {
    pipe_.SetTimeLimit(kConfirmationLimitMs);
    conversation_.Confirm(text);
}

std::unique_ptr<RecipientDialog> MakeRecipientDialog(DialogRoute route) {
    switch (route) {
    case DialogRoute::kInProcessForm:
        return MakeInProcessFormDialog();
    case DialogRoute::kDialogProgramMonitorConfirms:
        return std::make_unique<DialogProgramConversation>(true);
    case DialogRoute::kDialogProgram:
        break;
    }
    return std::make_unique<DialogProgramConversation>(false);
}

}  // namespace tolvane
