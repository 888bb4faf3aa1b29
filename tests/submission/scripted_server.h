#pragma once
// A loopback stand-in for the fax server that answers like the real one but
// in hostile ways: replies cut into small pieces, late replies, multi-line
// replies, or no reply at all. It records the commands and the uploaded bytes.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tolvane::testing {

struct ScriptedBehaviour {
    std::size_t pieceBytes = 0;                  // 0: each reply in one write
    std::chrono::milliseconds pieceDelay{0};     // pause between pieces
    std::chrono::milliseconds transferDelay{0};  // before the reply that ends an upload
    bool multiLineReplies = false;               // greeting and login as "NNN-" replies
    bool silent = false;                         // accept, then never answer
    std::string silentAfter;                     // stop answering once this command came
    bool stallUpload = false;                    // accept the data connection, never read it
    std::string passiveAddress = "127,0,0,1";    // the address the PASV reply names
    bool echoCommands = false;                   // refuse every command, echoing it back
    bool refuseModeZ = false;                    // answer "MODE Z" with 504, as servers without zlib do
    std::size_t closeUploadAfter = 0;            // > 0: drop the data connection after this many bytes
    std::chrono::milliseconds uploadPause{0};    // after each read of the document: a slow link
};

class ScriptedServer {
public:
    explicit ScriptedServer(ScriptedBehaviour behaviour);
    ~ScriptedServer();

    std::uint16_t Port() const { return port_; }
    std::vector<std::string> Commands() const;  // without line ends
    // The document as the server keeps it (inflated after "MODE Z"), and the
    // bytes that came over the data connection.
    std::string Document() const;
    std::string WireBytes() const;

private:
    void Serve();
    void Reply(int fd, const std::string& text);
    std::string HandleUpload(int control, int listener);

    ScriptedBehaviour behaviour_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
    std::string document_;
    std::string wire_;
    bool compressedMode_ = false;
    std::thread thread_;
};

}  // namespace tolvane::testing
