#include "common/send_fax_form/address_book.h"

#include <algorithm>

#include "common/send_fax_form/csv_line.h"
#include "common/send_fax_form/fax_request.h"

namespace tolvane {

namespace {

std::string CannotWrite(const std::string& path) {
    return "Cannot write the address book file " + path + ". The files on disk are unchanged.";
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

std::string NormaliseAddressBookFolder(std::string_view folder) {
    if (folder.empty()) return std::string(kDefaultAddressBookFolder);
    std::string normalised(folder);
    if (normalised.back() != '\\') normalised.push_back('\\');
    return normalised;
}

std::vector<std::string> SplitTextLines(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] != '\r' && content[i] != '\n') continue;
        lines.emplace_back(content.substr(start, i - start));
        if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < content.size()) lines.emplace_back(content.substr(start));
    return lines;
}

std::string JoinTextLines(const std::vector<std::string>& lines) {
    std::string content;
    for (const auto& line : lines) content += line + "\r\n";
    return content;
}

AddressBook::AddressBook(int type, std::string_view folderFromRequest, FileAccess& files)
    : type_(type), folder_(NormaliseAddressBookFolder(folderFromRequest)), files_(files) {}

std::string AddressBook::PathOf(std::string_view fileName) const { return folder_ + std::string(fileName); }

FileError AddressBook::LoadLines(std::string_view fileName, std::vector<std::string>& lines) {
    std::string content;
    if (!files_.ReadWholeFile(PathOf(fileName), content)) {
        return "Cannot read the address book file " + PathOf(fileName) + ".";
    }
    lines = SplitTextLines(content);
    return std::nullopt;
}

// Every new content is written in full beside the book before any of the
// book's files changes, so a full disk or a refused write leaves them all as
// they were. With two files, a copy of each one's present content is kept too:
// when the second cannot be replaced (read-only, held open by another program),
// the first gets its old content back, and no name is ever saved against the
// numbers file of another state, which would give every later name the number
// of the entry above it.
FileError AddressBook::ReplaceFiles(const std::vector<FileUpdate>& updates) {
    struct Pending {
        const FileUpdate* update;
        std::string fresh;     // the new content, beside the file
        std::string previous;  // a copy of the old content (two files only)
        bool existed;
    };
    const bool together = updates.size() > 1;
    std::vector<Pending> pending;
    for (const FileUpdate& update : updates) {
        pending.push_back({&update, update.path + ".new", update.path + ".old", files_.FileExists(update.path)});
    }
    auto removeLeftovers = [&] {
        for (const Pending& file : pending) {
            files_.RemoveFile(file.fresh);
            if (together) files_.RemoveFile(file.previous);
        }
    };
    auto fail = [&](const std::string& message) -> FileError {
        removeLeftovers();
        return message;
    };

    for (const Pending& file : pending) {
        std::string old;
        const bool kept = !together || !file.existed ||
                          (files_.ReadWholeFile(file.update->path, old) && files_.WriteWholeFile(file.previous, old));
        if (!kept || !files_.WriteWholeFile(file.fresh, file.update->content)) {
            return fail(CannotWrite(file.update->path));
        }
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (files_.ReplaceFileWith(pending[i].update->path, pending[i].fresh)) continue;
        bool restored = true;
        for (std::size_t j = i; j-- > 0;) {
            const Pending& done = pending[j];
            restored = (done.existed ? files_.ReplaceFileWith(done.update->path, done.previous)
                                     : files_.RemoveFile(done.update->path)) &&
                       restored;
        }
        if (restored) return fail(CannotWrite(pending[i].update->path));
        return fail("Cannot write the address book file " + pending[i].update->path +
                    ", and the files saved before it could not get their old content back: the address book files "
                    "may no longer match line by line.");
    }
    removeLeftovers();
    return std::nullopt;
}

FileError AddressBook::CreateEmptyIfMissing(std::string_view fileName) {
    if (files_.FileExists(PathOf(fileName))) return std::nullopt;
    if (!files_.WriteWholeFile(PathOf(fileName), "")) {
        return "Cannot create the address book file " + PathOf(fileName) + ".";
    }
    return std::nullopt;
}

FileError AddressBook::Load() {
    loadError_.reset();
    names_.clear();
    numbers_.clear();
    csvLines_.clear();
    if (type_ != kAddressBookTextFiles && type_ != kAddressBookCsvFile) return std::nullopt;

    if (!files_.FolderExists(folder_)) {
        // A failure here shows as the first file that cannot be written.
        files_.CreateFolder(folder_);
        return Save();
    }
    loadError_ = LoadExistingFiles();
    return loadError_;
}

FileError AddressBook::LoadExistingFiles() {
    if (type_ == kAddressBookTextFiles) {
        if (auto error = CreateEmptyIfMissing(kNamesFileName)) return error;
        if (auto error = CreateEmptyIfMissing(kNumbersFileName)) return error;
        if (auto error = LoadLines(kNamesFileName, names_)) return error;
        return LoadLines(kNumbersFileName, numbers_);
    }
    if (auto error = CreateEmptyIfMissing(kCsvFileName)) return error;
    if (auto error = LoadLines(kCsvFileName, csvLines_)) return error;
    for (const auto& line : csvLines_) {
        CsvEntry entry = SplitCsvLine(line);
        names_.push_back(std::move(entry.name));
        numbers_.push_back(std::move(entry.number));
    }
    return std::nullopt;
}

std::optional<std::string> AddressBook::NumberAt(std::size_t index) const {
    if (index >= numbers_.size()) return std::nullopt;
    return numbers_[index];
}

std::optional<std::size_t> AddressBook::EntryNamed(std::string_view text) const {
    // A box the user emptied names nobody, not an entry from a blank line.
    if (text.empty()) return std::nullopt;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == text) return i;
    }
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (EqualIgnoringAsciiCase(names_[i], text)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> AddressBook::RefusalToStore(std::string_view name, std::string_view number) const {
    // Only the CSV file has fields of a fixed size. A number list cut to fit
    // would lose its last numbers and end in a fragment that is someone
    // else's number, so what does not fit is refused whole.
    if (type_ != kAddressBookCsvFile) return std::nullopt;
    const std::string limit = std::to_string(kCsvFieldLimit);
    if (number.size() > kCsvFieldLimit) {
        return "The fax number is " + std::to_string(number.size()) +
               " characters long; the address book holds at most " + limit +
               " characters per number. Nothing was saved.";
    }
    if (name.size() > kCsvFieldLimit) {
        return "The display name is " + std::to_string(name.size()) +
               " characters long; the address book holds at most " + limit + " characters per name. Nothing was saved.";
    }
    return std::nullopt;
}

FileError AddressBook::Save() {
    // Files that were not read in full are left as they are: rewriting them
    // from the lists would drop the entries this run never saw.
    if (loadError_) return *loadError_ + " Changes to the address book are not saved.";
    if (type_ == kAddressBookTextFiles) {
        return ReplaceFiles(
            {{PathOf(kNamesFileName), JoinTextLines(names_)}, {PathOf(kNumbersFileName), JoinTextLines(numbers_)}});
    }
    if (type_ == kAddressBookCsvFile) return ReplaceFiles({{PathOf(kCsvFileName), JoinTextLines(csvLines_)}});
    return std::nullopt;
}

FileError AddressBook::Add(const std::string& name, const std::string& number) {
    if (name.empty()) return std::nullopt;
    if (auto refusal = RefusalToStore(name, number)) return refusal;
    // Two files of unequal length (edited by hand, or left so by a version
    // that wrote them one after the other) are evened out first, with empty
    // lines on whichever side is short, so that the new name and its number
    // share a line number and no line of either file is dropped.
    const std::size_t lines = std::max(names_.size(), numbers_.size());
    names_.resize(lines);
    numbers_.resize(lines);
    names_.push_back(name);
    numbers_.push_back(number);
    if (type_ == kAddressBookCsvFile) csvLines_.push_back(FormatCsvLine(name, number));
    return Save();
}

FileError AddressBook::Remove(std::size_t index) {
    if (index >= names_.size()) return std::nullopt;
    if (index < numbers_.size()) numbers_.erase(numbers_.begin() + static_cast<std::ptrdiff_t>(index));
    names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(index));
    if (type_ == kAddressBookCsvFile && index < csvLines_.size()) {
        csvLines_.erase(csvLines_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    return Save();
}

}  // namespace tolvane
