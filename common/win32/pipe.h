#pragma once
// The named-pipe end of the conversation between the port monitor and
// Korrim.exe (see common/pipe_conversation.h for the messages).
//
// Host role (the monitor; tests): creates the pipe ("\\.\pipe\Caskel" unless
// named otherwise: the monitor names each document's conversation a pipe of
// its own, common/conversation_pipe_name.h) as the first and only instance, byte stream, zero-size buffers (a write
// completes only when the peer has read it), starts the client in the active console session under the identity the
// calling thread impersonates, and waits for it to connect. It refuses to talk to anyone else: the creation fails when
// another process already holds the name (FILE_FLAG_FIRST_PIPE_INSTANCE, and a look for an existing instance first,
// since Wine ignores the flag), and, where the system can tell (GetNamedPipeClientProcessId, looked up at run time), a
// client that is not the process it launched is disconnected and Open fails. The wait for the connection also ends,
// with failure, when the launched process exits without connecting.
//
// Every wait of the host role can be given a limit (SetConnectLimit,
// SetTimeLimit): a client that dies, hangs or sits behind a box the user never
// answers must not hold the host for ever.
//
// Client role (Korrim.exe): connects to the existing pipe, no waiting, no retry.
//
// Nothing here is tied to one program: the monitor DLL links this library
// (common_win32) and uses, for instance:
//
//     Pipe pipe(/*isHost=*/true);
//     ClientLaunch launch;                        // how to start Korrim.exe
//     launch.applicationPath = L"C:\\WINDOWS\\SysWOW64\\Tolvane\\Korrim.exe";
//     launch.commandLine.clear();
//     launch.enableAssignPrimaryTokenPrivilege = true;
//     pipe.SetClientLaunch(launch);
//     if (pipe.Open()) {                          // on a thread impersonating the user
//         SendRequests(pipe.Peer(), requests);
//         FaxAnswers answers;
//         ReceiveAnswers(pipe.Peer(), answers);
//         ...
//         pipe.Close();
//     }

#include <windows.h>

#include <string>
#include <string_view>

#include "common/message_channel.h"
#include "common/pipe_conversation.h"

namespace tolvane {

// Shows a plain message box with no owner window and an OK button only.
void ShowPlainMessageBox(std::u16string_view text, std::u16string_view caption);
// The alert sink of both roles in the product: ShowPlainMessageBox.
AlertSink MessageBoxAlerts();

// How the host starts the client.
struct ClientLaunch {
    // Full path of the program; empty: the command line names it and the
    // system's usual search finds it.
    std::wstring applicationPath;
    std::wstring commandLine = L"Korrim.exe";
    // Enables "SeAssignPrimaryTokenPrivilege" in the thread token first (the
    // spooler's launch does); the token is then opened with all access.
    bool enableAssignPrimaryTokenPrivilege = false;
    // The session of the user the thread acts for (on a terminal server, the
    // user who printed) rather than the active console session. A token of
    // session 0 still gets the console: from Vista on nobody sees session 0.
    bool inActingUsersSession = false;
};

// Starts the client on "WinSta0\Default" of the active console session (or of
// the acting user's own, see ClientLaunch) as the user the calling thread
// impersonates, with that user's environment. On success `process` receives
// the process handle (the caller closes it) and `processId` its id. A kernel32.dll that cannot be loaded is reported
// through `alerts` ("Can not load dll", caption "MainProcess") and fails the launch; without
// WTSGetActiveConsoleSessionId (Windows 2000) the console is session 0.
bool LaunchClientInConsoleSession(const ClientLaunch& launch, const AlertSink& alerts, HANDLE& process,
                                  DWORD& processId);

class Pipe : public MessageChannel {
public:
    explicit Pipe(bool isHost,
                  std::wstring name = std::wstring(kConversationPipePath.begin(), kConversationPipePath.end()),
                  AlertSink alerts = MessageBoxAlerts());
    ~Pipe() override;
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    // Host role: how LaunchClient starts the client (default: "Korrim.exe").
    void SetClientLaunch(ClientLaunch launch) { launch_ = std::move(launch); }
    // Host role: the pipe is created so that only the local system and the
    // user the calling thread acts for (the printing user) can open it;
    // otherwise it has the system's default security.
    void SetOnlyActingUserMayConnect() { onlyActingUser_ = true; }

    // Host role: how long Open waits for the launched client to connect, and
    // how long, from now, the operations that follow may take altogether (a
    // deadline, not a limit per operation, so a client that reads one byte a
    // minute cannot stretch it). An operation past it is cancelled and fails
    // with ERROR_TIMEOUT. Both are unlimited until set.
    void SetConnectLimit(DWORD milliseconds) { connectLimitMs_ = milliseconds; }
    void SetTimeLimit(DWORD milliseconds);

    // Host: create, launch the client, wait for it. Client: connect.
    bool Open();
    // One text each way, failures shown (see ConversationPeer).
    bool Write(std::u16string_view text) { return peer_.Write(text); }
    bool Read(std::u16string& text) { return peer_.Read(text); }
    ConversationPeer& Peer() { return peer_; }
    // Host: disconnect, then close. Client: close. Always true.
    bool Close();
    // Host role: starts the client as SetClientLaunch says.
    bool LaunchClient();

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    // The system error of the last failed operation.
    DWORD LastError() const { return lastError_; }
    DWORD ClientProcessId() const { return clientProcessId_; }

    bool WriteMessage(const std::vector<std::uint8_t>& bytes) override;
    bool ReadMessage(std::vector<std::uint8_t>& bytes, std::size_t maxBytes) override;

private:
    bool OpenHost();
    bool OpenClient();
    bool WaitForLaunchedClient();
    bool ConnectedClientIsLaunchedProcess();
    // Runs one overlapped operation to its end (host handles are overlapped),
    // cancelling it at the deadline.
    bool FinishIo(BOOL started, OVERLAPPED& overlapped, DWORD& transferred);
    // Milliseconds left until the deadline; INFINITE without one.
    DWORD TimeLeft() const;
    bool Fail();

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool isHost_;
    std::wstring name_;
    AlertSink alerts_;
    ConversationPeer peer_;
    ClientLaunch launch_;
    bool onlyActingUser_ = false;
    HANDLE clientProcess_ = nullptr;
    DWORD clientProcessId_ = 0;
    HANDLE ioEvent_ = nullptr;
    DWORD lastError_ = 0;
    DWORD connectLimitMs_ = INFINITE;
    DWORD timeLimitMs_ = INFINITE;
    DWORD limitStart_ = 0;  // GetTickCount() when the time limit was set
};

}  // namespace tolvane
