// The address book's files are the user's: names.txt, numbers.txt and
// numbers.csv as any editor or an older version left them. The input gives the
// storage type, which files exist and whether the disk refuses reads or
// writes, the three files' contents, and then a few changes the user makes
// (add a name and number, delete an entry), all over an in-memory disk.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/send_fax_form/address_book.h"
#include "common/send_fax_form/fax_request.h"
#include "common/send_fax_form/csv_line.h"
#include "tests/fuzz/fuzz_input.h"

namespace tolvane::fuzz {
namespace {

const std::string kFolder = "C:\\Fax\\";

class MemoryFiles final : public FileAccess {
public:
    bool FolderExists(const std::string& folder) override { return folders.count(folder) > 0; }
    bool CreateFolder(const std::string& folder) override {
        folders.insert(folder);
        return true;
    }
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    bool ReadWholeFile(const std::string& path, std::string& content) override {
        const auto found = files.find(path);
        if (refuseReads || found == files.end()) return false;
        content = found->second;
        return true;
    }
    bool WriteWholeFile(const std::string& path, const std::string& content) override {
        if (refuseWrites) return false;
        files[path] = content;
        return true;
    }
    bool ReplaceFileWith(const std::string& path, const std::string& replacement) override {
        const auto found = files.find(replacement);
        if (refuseWrites || found == files.end()) return false;
        files[path] = found->second;
        files.erase(replacement);
        return true;
    }
    bool RemoveFile(const std::string& path) override { return files.erase(path) == 1; }

    std::set<std::string> folders;
    std::map<std::string, std::string> files;
    bool refuseReads = false;
    bool refuseWrites = false;
};

struct Entries {
    std::vector<std::string> names;
    std::vector<std::optional<std::string>> numbers;
    bool operator==(const Entries&) const = default;
};

Entries EntriesOf(const AddressBook& book) {
    Entries entries{book.Names(), {}};
    for (std::size_t i = 0; i < book.Count(); ++i) entries.numbers.push_back(book.NumberAt(i));
    return entries;
}

// The form's name and number boxes are single-line edits: what the user types
// holds no line end.
std::string Typed(std::string_view text) {
    std::string typed;
    for (char c : text)
        if (c != '\r' && c != '\n') typed.push_back(c);
    return typed;
}

}  // namespace
}  // namespace tolvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane;
    using fuzz::Require;
    fuzz::FuzzInput input(data, size);
    const std::uint8_t setup = input.Byte();
    const int type = setup & 0x03;  // 0 two text files, 1 CSV, 2 and 3 none
    fuzz::MemoryFiles disk;
    if (setup & 0x04) disk.folders.insert(fuzz::kFolder);
    const std::string_view names = input.Field();
    const std::string_view numbers = input.Field();
    const std::string_view csv = input.Field();
    if (setup & 0x08) disk.files[fuzz::kFolder + std::string(kNamesFileName)] = names;
    if (setup & 0x10) disk.files[fuzz::kFolder + std::string(kNumbersFileName)] = numbers;
    if (setup & 0x20) disk.files[fuzz::kFolder + std::string(kCsvFileName)] = csv;
    disk.refuseReads = (setup & 0x40) != 0;
    disk.refuseWrites = (setup & 0x80) != 0;
    const std::map<std::string, std::string> filesBefore = disk.files;

    AddressBook book(type, "C:\\Fax", disk);
    bool failed = book.Load().has_value();
    const bool stored = type == kAddressBookTextFiles || type == kAddressBookCsvFile;
    const bool unreadable = (setup & 0x04) && disk.refuseReads && stored;
    for (int change = 0; change < 8 && !input.Empty(); ++change) {
        const std::uint8_t what = input.Byte();
        if (what & 1) {
            const std::string name = fuzz::Typed(input.Field());
            const std::string number = fuzz::Typed(input.Field());
            const std::size_t before = book.Count();
            const bool refused = book.RefusalToStore(name, number).has_value();
            const bool addFailed = book.Add(name, number).has_value();
            if (name.empty() || refused) {
                Require(name.empty() || addFailed, "an entry that cannot be stored is refused");
                Require(book.Count() == before, "an empty or refused entry changes nothing");
            } else {
                failed |= addFailed;
                // Names missing beside a longer numbers file are evened out first.
                Require(book.Count() >= before + 1, "a name is added");
                Require(book.Names().back() == name, "the new name is the last entry, whole");
            }
        } else {
            const std::size_t before = book.Count();
            const std::size_t index = input.Byte() % (before + 1);
            failed |= book.Remove(index).has_value();
            Require(book.Count() == before - (index < before ? 1 : 0), "one entry is removed, or none");
        }
    }

    if (unreadable) {
        for (const auto& [path, content] : filesBefore)
            Require(disk.files[path] == content, "files that could not be read are never rewritten");
    }
    if (!stored) Require(disk.files == filesBefore, "without a storage type no file is touched");
    if (failed || !stored) return 0;
    // Every change was saved: a new run (on a disk that reads again) loads
    // what this one holds.
    disk.refuseReads = false;
    AddressBook reloaded(type, "C:\\Fax", disk);
    Require(!reloaded.Load().has_value(), "files this run wrote load again");
    Require(fuzz::EntriesOf(reloaded) == fuzz::EntriesOf(book), "a reload gives back the entries in memory");
    return 0;
}
