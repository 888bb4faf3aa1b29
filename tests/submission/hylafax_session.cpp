#include "hylafax_session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "monitor/submission/posix/posix_connection.h"

namespace tolvane::testing {

namespace {

std::filesystem::path Base() {
    const char* base = std::getenv("TOLVANE_HF_BASE");
    return base ? std::filesystem::path(base) : std::filesystem::path();
}

}  // namespace

bool HylafaxServer::Available(std::string& why) {
    if (Base().empty()) {
        why = "TOLVANE_HF_BASE is not set; run through ctest, which starts the server";
        return false;
    }
    if (!std::filesystem::exists(Base() / "port")) {
        why = "no HylaFAX test server under " + Base().string();
        return false;
    }
    return true;
}

std::filesystem::path HylafaxServer::Spool() { return Base() / "spool"; }

std::uint16_t HylafaxServer::Port() {
    std::ifstream file(Base() / "port");
    int port = 0;
    file >> port;
    return static_cast<std::uint16_t>(port);
}

SubmissionOutcome SubmitSpoolFile(const SubmissionRequest& request, const std::filesystem::path& path) {
    PosixConnection connection;
    SpoolFileReader reader(path);
    return SubmitFax(connection, reader, request);
}

int JobNumberIn(const std::string& reply) {
    const std::size_t at = reply.find("Job ");
    return at == std::string::npos ? 0 : std::atoi(reply.c_str() + at + 4);
}

JobFile ReadJobFile(int job) {
    JobFile fields;
    const std::string name = "q" + std::to_string(job);
    std::ifstream file(HylafaxServer::Spool() / "sendq" / name);
    if (!file) file.open(HylafaxServer::Spool() / "doneq" / name);
    EXPECT_TRUE(file.is_open()) << "no job file " << name;
    std::string line;
    while (std::getline(file, line)) {
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos) fields[line.substr(0, colon)] = line.substr(colon + 1);
    }
    return fields;
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.is_open()) << "cannot read " << path;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << "cannot write " << path;
}

std::filesystem::path ScratchFolder(const std::string& name) {
    const std::filesystem::path folder = Base() / "scratch" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace tolvane::testing
