#pragma once
// The send-fax form's small address book: display names with their fax
// numbers, kept between runs in a folder the host names (request 2).
//
// Storage types (request 1):
//   0      "names.txt" and "numbers.txt": one name, and on the same line number
//          of the other file its number
//   1      "numbers.csv": one entry per line (see csv_line.h)
//   other  none: the book starts empty and changes stay in memory
// Files are plain ANSI text without a header; lines end at CR LF, LF or CR when
// read and with CR LF (the last one too) when written. Each change saves at
// once, all or nothing: the new contents are written beside the book first and
// then replace its files, and when the second of the two text files cannot be
// replaced the first gets its old content back. Entries keep their file order,
// new ones are appended.
//
// File errors come back as a message naming the file. The operation stops
// there; the in-memory lists keep what was already changed or loaded. After a
// load that could not read an existing file, changes stay in memory and every
// save is refused with that error, so the files keep their entries.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/send_fax_form/file_access.h"

namespace tolvane {

inline constexpr std::string_view kDefaultAddressBookFolder = "C:\\Program Files\\Tolvane\\";
inline constexpr std::string_view kNamesFileName = "names.txt";
inline constexpr std::string_view kNumbersFileName = "numbers.txt";
inline constexpr std::string_view kCsvFileName = "numbers.csv";

// A folder text that arrived empty means the default folder; otherwise a
// missing trailing backslash is added. The single space that stands for an
// empty text on the pipe is a folder name, not empty.
std::string NormaliseAddressBookFolder(std::string_view folder);

// Lines of a text file, split at CR LF, lone LF or lone CR. A last line
// without an end counts; the end of the last line does not start another.
std::vector<std::string> SplitTextLines(std::string_view content);
// Lines joined, each ended by CR LF.
std::string JoinTextLines(const std::vector<std::string>& lines);

using FileError = std::optional<std::string>;

class AddressBook {
public:
    AddressBook(int type, std::string_view folderFromRequest, FileAccess& files);

    // Prepares the folder and files and loads the entries.
    FileError Load();

    std::size_t Count() const { return names_.size(); }
    const std::vector<std::string>& Names() const { return names_; }
    // The number of entry `index`; nothing when there is none (type 0 files
    // of unequal length).
    std::optional<std::string> NumberAt(std::size_t index) const;

    // The entry named exactly `text`, else the first whose name differs from it
    // only in the case of ASCII letters; nothing for an empty text or no match.
    std::optional<std::size_t> EntryNamed(std::string_view text) const;

    // Why an entry cannot be stored as it is: a name or number longer than the
    // CSV file's fields hold (kCsvFieldLimit). Nothing when it can.
    std::optional<std::string> RefusalToStore(std::string_view name, std::string_view number) const;

    // Appends an entry and saves. An empty name changes nothing; an entry that
    // cannot be stored as it is (RefusalToStore) changes nothing and returns
    // the refusal.
    FileError Add(const std::string& name, const std::string& number);
    // Removes entry `index` and saves; an index out of range changes nothing.
    FileError Remove(std::size_t index);

    const std::string& Folder() const { return folder_; }
    int Type() const { return type_; }

private:
    std::string PathOf(std::string_view fileName) const;
    FileError LoadLines(std::string_view fileName, std::vector<std::string>& lines);
    struct FileUpdate {
        std::string path;
        std::string content;
    };
    FileError ReplaceFiles(const std::vector<FileUpdate>& updates);
    FileError CreateEmptyIfMissing(std::string_view fileName);
    FileError LoadExistingFiles();
    FileError Save();

    int type_;
    std::string folder_;
    FileAccess& files_;
    std::vector<std::string> names_;
    std::vector<std::string> numbers_;
    std::vector<std::string> csvLines_;  // type 1: the raw lines, parallel to names_
    FileError loadError_;                // why the existing files could not be loaded
};

}  // namespace tolvane
