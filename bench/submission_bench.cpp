// Submission speed against a local HylaFAX server: one 20 MB document to ten
// recipients, by this client, by the server's own sendfax, and by a minimal
// client that sends the same commands and streams the file in 1 MiB blocks
// (the floor the server itself sets). Rounds alternate the three so a growing
// queue weighs on each alike.
//
//   submission_bench [rounds]      (root; starts and stops its own server)
//
// Targets: this client within 0.1 of sendfax's time and 1.2 of the minimal one.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "monitor/submission/fax_submission.h"
#include "monitor/submission/job_commands.h"
#include "monitor/submission/posix/posix_connection.h"

namespace {

using namespace tolvane;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kDocumentBytes = 20 * 1000 * 1000;
constexpr int kRecipients = 10;

const fs::path kBase = fs::temp_directory_path() / "tolvane-submission-bench";

std::string Shell(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run " + command);
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    if (::pclose(pipe) != 0) throw std::runtime_error(command + " failed: " + output);
    return output;
}

SubmissionRequest Request(std::uint16_t port) {
    SubmissionRequest request;
    request.settings = {"127.0.0.1", "faxuser", "secret", "Bench", "1", "12", "3", "0", "0"};
    std::string recipients;
    for (int i = 0; i < kRecipients; ++i) recipients += "Bench@55512" + std::to_string(10 + i) + ";";
    request.answers = {recipients, ".", "1", "Bench", "1", "1", "bench@example.org"};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    request.jobInfoTime = JobInfoTime(local);
    request.port = port;
    return request;
}

void OurClient(std::uint16_t port, const fs::path& document) {
    PosixConnection connection;
    SpoolFileReader reader(document);
    const SubmissionOutcome outcome = SubmitFax(connection, reader, Request(port));
    if (outcome.submittedJobs != kRecipients) throw std::runtime_error("client: " + outcome.summary);
}

void Sendfax(std::uint16_t port, const fs::path& document) {
    std::string command =
        "echo secret | FAXUSER=faxuser setsid -w sendfax -n -h ttyS4@127.0.0.1:" + std::to_string(port);
    for (int i = 0; i < kRecipients; ++i) command += " -d 55512" + std::to_string(10 + i);
    Shell(command + " " + document.string() + " 2>&1");
}

// The floor: blocking sockets, one reply per command read straight from the
// socket, the file streamed in 1 MiB blocks, no checks beyond the job count.
class MinimalClient {
public:
    explicit MinimalClient(std::uint16_t port) : control_(Open(port)) { Reply(); }
    ~MinimalClient() { ::close(control_); }

    std::string Command(const std::string& line) {
        Send(control_, line.data(), line.size());
        return Reply();
    }

    void Upload(const fs::path& document) {
        const std::string pasv = Command("PASV\n");
        int n[6];
        std::sscanf(pasv.c_str() + pasv.find('('), "(%d,%d,%d,%d,%d,%d)", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5]);
        const int data = Open(static_cast<std::uint16_t>(n[4] * 256 + n[5]));
        Command("STOT\n");
        std::ifstream file(document, std::ios::binary);
        std::vector<char> block(1024 * 1024);
        while (file.read(block.data(), static_cast<std::streamsize>(block.size())) || file.gcount() > 0) {
            Send(data, block.data(), static_cast<std::size_t>(file.gcount()));
        }
        ::close(data);
        const std::string done = Reply();
        const std::size_t at = done.find("FILE: ");
        documentName_ = done.substr(at + 6, done.find(')', at) - at - 6);
    }

    const std::string& DocumentName() const { return documentName_; }

private:
    static int Open(std::uint16_t port) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            throw std::runtime_error("minimal client: connect");
        }
        return fd;
    }
    static void Send(int fd, const char* bytes, std::size_t size) {
        while (size > 0) {
            const ssize_t sent = ::send(fd, bytes, size, MSG_NOSIGNAL);
            if (sent <= 0) throw std::runtime_error("minimal client: send");
            bytes += sent;
            size -= static_cast<std::size_t>(sent);
        }
    }
    // Reads until a line "NNN " has arrived; the server never sends ahead.
    std::string Reply() {
        std::string reply;
        char chunk[4096];
        while (true) {
            const std::size_t end = reply.rfind("\r\n", reply.size() >= 2 ? reply.size() - 2 : 0);
            const std::size_t start = end == std::string::npos || end + 2 == reply.size() ? 0 : end + 2;
            if (reply.size() >= 2 && reply.compare(reply.size() - 2, 2, "\r\n") == 0 && reply.size() - start > 4 &&
                reply[start + 3] == ' ') {
                return reply;
            }
            const ssize_t got = ::recv(control_, chunk, sizeof chunk, 0);
            if (got <= 0) throw std::runtime_error("minimal client: recv");
            reply.append(chunk, static_cast<std::size_t>(got));
        }
    }

    int control_;
    std::string documentName_;
};

void Minimal(std::uint16_t port, const fs::path& document) {
    MinimalClient client(port);
    client.Command("USER faxuser\n");
    client.Command("PASS secret\n");
    client.Command("TYPE I\n");
    client.Command("MODE S\n");
    client.Upload(document);
    const SubmissionRequest request = Request(port);
    int submitted = 0;
    for (int i = 0; i < kRecipients; ++i) {
        JobCommandInput input{request.settings,
                              request.answers,
                              {"Bench", "55512" + std::to_string(10 + i)},
                              client.DocumentName(),
                              request.jobInfoTime};
        std::string reply;
        for (const JobCommand& command : BuildJobCommands(input)) reply = client.Command(command.line);
        if (reply.rfind("200 Job", 0) == 0) ++submitted;
    }
    if (submitted != kRecipients) throw std::runtime_error("minimal client submitted too few jobs");
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

std::string BinaryDocument() {
    std::string bytes = "%!PS-Adobe-3.0\n%%BeginBinary\n";
    std::mt19937 random(4559);
    while (bytes.size() < kDocumentBytes) bytes += static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string HexDocument() {
    std::string bytes = "%!PS-Adobe-3.0\n%%Pages: (atend)\n%%EndComments\n";
    std::mt19937 random(4559);
    for (int page = 1; bytes.size() < kDocumentBytes; ++page) {
        bytes += "%%Page: " + std::to_string(page) + " " + std::to_string(page) +
                 "\nsave 1728 2200 1 [1728 0 0 -2200 0 2200] {currentfile picstr readhexstring pop} image\n";
        for (int row = 0; row < 2500; ++row) {
            for (int i = 0; i < 78; ++i) bytes += "0123456789ABCDEF"[random() & 15];
            bytes += '\n';
        }
        bytes += "restore showpage\n";
    }
    return bytes + "%%EOF\n";
}

double Seconds(const std::function<void()>& run) {
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const fs::path root = TOLVANE_SOURCE_DIR;
    const std::string server =
        "HF_BASE=" + kBase.string() + " " + (root / "tests/submission/hylafax-fixture.sh").string();
    int status = 0;
    try {
        Shell(server + " " + kBase.string() + " start");
        std::uint16_t port = 0;
        std::ifstream(kBase / "port") >> port;

        // Two kinds of print data: binary image sections (as a driver emits in
        // binary mode) and hex image lines (its ASCII mode). sendfax's own time
        // depends strongly on the kind; the clients' barely.
        const fs::path binary = kBase / "binary.ps";
        const fs::path hex = kBase / "hex.ps";
        WriteBytes(binary, BinaryDocument());
        WriteBytes(hex, HexDocument());
        for (const fs::path& document : {binary, hex}) {
            std::vector<double> ours, sendfax, minimal;
            for (int round = 0; round < rounds; ++round) {
                ours.push_back(Seconds([&] { OurClient(port, document); }));
                minimal.push_back(Seconds([&] { Minimal(port, document); }));
                sendfax.push_back(Seconds([&] { Sendfax(port, document); }));
            }
            const double a = Median(ours), b = Median(sendfax), c = Median(minimal);
            std::printf("%s: %ju bytes to %d recipients, median of %d rounds:\n", document.filename().c_str(),
                        static_cast<std::uintmax_t>(fs::file_size(document)), kRecipients, rounds);
            std::printf("  this client      %7.3f s\n", a);
            std::printf("  minimal client   %7.3f s\n", c);
            std::printf("  sendfax          %7.3f s\n", b);
            std::printf("  client/sendfax   %7.3f  (target <= 0.10) %s\n", a / b, a / b <= 0.10 ? "met" : "MISSED");
            std::printf("  minimal/sendfax  %7.3f  (no client can do better than this)\n", c / b);
            std::printf("  client/minimal   %7.3f  (target <= 1.20) %s\n", a / c, a / c <= 1.20 ? "met" : "MISSED");
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "submission_bench: %s\n", error.what());
        status = 1;
    }
    try {
        Shell(server + " " + kBase.string() + " stop");
    } catch (const std::exception&) {}
    fs::remove_all(kBase);
    return status;
}
