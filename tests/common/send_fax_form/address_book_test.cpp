// Loading and saving the address book for each storage type, against an
// in-memory file system that can refuse operations.
#include "common/send_fax_form/address_book.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <utility>

namespace tolvane {
namespace {

class FakeFiles : public FileAccess {
public:
    std::set<std::string> folders;
    std::map<std::string, std::string> files;
    // unwritable: read-only files, neither written nor replaced; held: open in
    // another program that does not share them, so they cannot be replaced.
    std::set<std::string> unwritable, unreadable, held;
    bool folderCreationFails = false;
    int writes = 0;
    // A disk with this many bytes left: a write that does not fit leaves its
    // file cut short where the space ran out, as a real one does.
    std::optional<std::size_t> spaceLeft;

    bool FolderExists(const std::string& folder) override { return folders.count(folder) > 0; }
    bool CreateFolder(const std::string& folder) override {
        if (folderCreationFails) return false;
        folders.insert(folder);
        return true;
    }
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    bool ReadWholeFile(const std::string& path, std::string& content) override {
        if (unreadable.count(path) || !files.count(path)) return false;
        content = files[path];
        return true;
    }
    bool WriteWholeFile(const std::string& path, const std::string& content) override {
        ++writes;
        const auto slash = path.rfind('\\');
        if (unwritable.count(path) || !folders.count(path.substr(0, slash + 1))) return false;
        if (spaceLeft && content.size() > *spaceLeft) {
            files[path] = content.substr(0, *spaceLeft);
            spaceLeft = 0;
            return false;
        }
        if (spaceLeft) *spaceLeft -= content.size();
        files[path] = content;
        return true;
    }
    bool ReplaceFileWith(const std::string& path, const std::string& replacement) override {
        if (unwritable.count(path) || held.count(path) || !files.count(replacement)) return false;
        files[path] = files[replacement];
        files.erase(replacement);
        return true;
    }
    bool RemoveFile(const std::string& path) override {
        if (unwritable.count(path) || held.count(path)) return false;
        return files.erase(path) > 0;
    }
};

const std::string kFolder = "C:\\Book\\";

TEST(AddressBookFolder, EmptyMeansTheDefaultAndABackslashIsAddedWhenMissing) {
    EXPECT_EQ(NormaliseAddressBookFolder(""), "C:\\Program Files\\Tolvane\\");
    EXPECT_EQ(NormaliseAddressBookFolder("C:\\Book"), "C:\\Book\\");
    EXPECT_EQ(NormaliseAddressBookFolder("C:\\Book\\"), "C:\\Book\\");
    EXPECT_EQ(NormaliseAddressBookFolder(" "), " \\");  // the pipe's space is a name
}

TEST(TextLines, SplitAtAnyLineEndAndJoinWithCrLf) {
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(SplitTextLines("\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(SplitTextLines("").empty());
    EXPECT_EQ(JoinTextLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinTextLines({}), "");
}

TEST(AddressBookTextFiles, CreatesMissingFilesLoadsPairsAndSavesEachChangeAtOnce) {
    FakeFiles files;
    files.folders.insert(kFolder);
    {
        AddressBook book(0, "C:\\Book", files);
        ASSERT_EQ(book.Load(), std::nullopt);
        EXPECT_EQ(book.Count(), 0u);
        EXPECT_EQ(files.files.at(kFolder + "names.txt"), "");
        EXPECT_EQ(files.files.at(kFolder + "numbers.txt"), "");
    }
    files.files[kFolder + "names.txt"] = "Alice\nBob\r\n";
    files.files[kFolder + "numbers.txt"] = "111\r222";
    AddressBook book(0, "C:\\Book\\", files);
    ASSERT_EQ(book.Load(), std::nullopt);
    EXPECT_EQ(book.Names(), (std::vector<std::string>{"Alice", "Bob"}));
    EXPECT_EQ(book.NumberAt(1), "222");

    ASSERT_EQ(book.Add("Smith, John", ""), std::nullopt);
    EXPECT_EQ(files.files.at(kFolder + "names.txt"), "Alice\r\nBob\r\nSmith, John\r\n");
    EXPECT_EQ(files.files.at(kFolder + "numbers.txt"), "111\r\n222\r\n\r\n");

    ASSERT_EQ(book.Remove(0), std::nullopt);
    EXPECT_EQ(files.files.at(kFolder + "names.txt"), "Bob\r\nSmith, John\r\n");
    EXPECT_EQ(files.files.at(kFolder + "numbers.txt"), "222\r\n\r\n");
    EXPECT_EQ(book.NumberAt(0), "222");
}

TEST(AddressBookTextFiles, UnequalFilesLeaveNamesWithoutNumbers) {
    FakeFiles files;
    files.folders.insert(kFolder);
    files.files[kFolder + "names.txt"] = "Alice\r\nBob\r\n";
    files.files[kFolder + "numbers.txt"] = "111\r\n";
    AddressBook book(0, kFolder, files);
    ASSERT_EQ(book.Load(), std::nullopt);
    EXPECT_EQ(book.Count(), 2u);
    EXPECT_EQ(book.NumberAt(1), std::nullopt);
    ASSERT_EQ(book.Remove(1), std::nullopt);
    EXPECT_EQ(files.files.at(kFolder + "names.txt"), "Alice\r\n");
    EXPECT_EQ(files.files.at(kFolder + "numbers.txt"), "111\r\n");
}

TEST(AddressBookTextFiles, ANewEntryKeepsItsNumberOnItsOwnLineWhenNumbersAreMissing) {
    FakeFiles files;
    files.folders.insert(kFolder);
    files.files[kFolder + "names.txt"] = "Alice\r\nBob\r\nCarol\r\n";
    files.files[kFolder + "numbers.txt"] = "111\r\n222\r\n";
    AddressBook book(0, kFolder, files);
    ASSERT_EQ(book.Load(), std::nullopt);
    ASSERT_EQ(book.Add("Dave", "444"), std::nullopt);
    EXPECT_EQ(files.files.at(kFolder + "numbers.txt"), "111\r\n222\r\n\r\n444\r\n");
    AddressBook reloaded(0, kFolder, files);
    ASSERT_EQ(reloaded.Load(), std::nullopt);
    EXPECT_EQ(reloaded.Names().back(), "Dave");
    EXPECT_EQ(reloaded.NumberAt(3), "444");
    EXPECT_EQ(reloaded.NumberAt(2), "");  // Carol had none
}

TEST(AddressBookCsv, KeepsUnchangedLinesAsTheyWereAndANameWithACommaSurvivesAReload) {
    FakeFiles files;
    files.folders.insert(kFolder);
    const std::string path = kFolder + "numbers.csv";
    files.files[path] = "\"Alice\",\"111\"\nBob,222\r\n\r\n";
    {
        AddressBook book(1, kFolder, files);
        ASSERT_EQ(book.Load(), std::nullopt);
        EXPECT_EQ(book.Names(), (std::vector<std::string>{"Alice", "Bob", ""}));
        EXPECT_EQ(book.NumberAt(1), "222");
        ASSERT_EQ(book.Add("Smith, John", "555"), std::nullopt);
        EXPECT_EQ(files.files.at(path), "\"Alice\",\"111\"\r\nBob,222\r\n\r\n\"Smith, John\",\"555\"\r\n");
        ASSERT_EQ(book.Remove(2), std::nullopt);
    }
    AddressBook reloaded(1, kFolder, files);
    ASSERT_EQ(reloaded.Load(), std::nullopt);
    EXPECT_EQ(reloaded.Names(), (std::vector<std::string>{"Alice", "Bob", "Smith, John"}));
    EXPECT_EQ(reloaded.NumberAt(2), "555");
}

TEST(AddressBookTextFiles, ANewEntryKeepsItsNumberOnItsOwnLineWhenNamesAreMissing) {
    FakeFiles files;
    files.folders.insert(kFolder);
    files.files[kFolder + "names.txt"] = "Alice\r\nBob\r\n";
    files.files[kFolder + "numbers.txt"] = "111\r\n222\r\n333\r\n";
    AddressBook book(0, kFolder, files);
    ASSERT_EQ(book.Load(), std::nullopt);
    ASSERT_EQ(book.Add("Dave", "444"), std::nullopt);
    EXPECT_EQ(book.Names(), (std::vector<std::string>{"Alice", "Bob", "", "Dave"}));  // 333 keeps its line
    EXPECT_EQ(files.files.at(kFolder + "names.txt"), "Alice\r\nBob\r\n\r\nDave\r\n");
    EXPECT_EQ(files.files.at(kFolder + "numbers.txt"), "111\r\n222\r\n333\r\n444\r\n");
}

// With the disk full at any byte, or either file read-only or held open by
// another program, a save leaves the old contents of both files or both new
// ones, and nothing beside them.
TEST(AddressBookSave, ChangesAllFilesOrNone) {
    const std::string names = kFolder + "names.txt", numbers = kFolder + "numbers.txt", csv = kFolder + "numbers.csv";
    auto save = [&](int type, std::map<std::string, std::string> before, const std::function<void(FakeFiles&)>& trouble,
                    const std::map<std::string, std::string>& after) {
        FakeFiles files;
        files.folders.insert(kFolder);
        files.files = before;
        AddressBook book(type, kFolder, files);
        EXPECT_EQ(book.Load(), std::nullopt);
        trouble(files);
        const FileError error = book.Add("Carol", "333");
        EXPECT_EQ(files.files, error ? before : after) << error.value_or("saved");
        return error.has_value();
    };
    const std::map<std::string, std::string> two{{names, "Alice\r\n"}, {numbers, "111\r\n"}};
    const std::map<std::string, std::string> twoAfter{{names, "Alice\r\nCarol\r\n"}, {numbers, "111\r\n333\r\n"}};
    const std::map<std::string, std::string> one{{csv, "\"Alice\",\"111\"\r\n"}};
    const std::map<std::string, std::string> oneAfter{{csv, "\"Alice\",\"111\"\r\n\"Carol\",\"333\"\r\n"}};
    int failed = 0;
    for (std::size_t space = 0; space <= 50; ++space) {
        auto fullDisk = [space](FakeFiles& files) { files.spaceLeft = space; };
        failed += save(0, two, fullDisk, twoAfter) + save(1, one, fullDisk, oneAfter);
    }
    EXPECT_GT(failed, 0);
    EXPECT_LT(failed, 102);  // with room enough both saved
    for (const std::string& path : {names, numbers}) {
        auto readOnly = [&](FakeFiles& files) { files.unwritable.insert(path); };
        auto heldOpen = [&](FakeFiles& files) { files.held.insert(path); };
        EXPECT_TRUE(save(0, two, readOnly, twoAfter));
        EXPECT_TRUE(save(0, two, heldOpen, twoAfter));
    }
}

// A number list that does not fit the CSV field is refused whole: cut, it
// would lose its last numbers and end in a fragment that is someone else's.
TEST(AddressBookCsv, AnEntryLongerThanTheFieldsIsRefusedWithTheLimit) {
    FakeFiles files;
    files.folders.insert(kFolder);
    AddressBook book(1, kFolder, files);
    ASSERT_EQ(book.Load(), std::nullopt);
    std::string twelveNumbers = "004955512340";
    for (int i = 1; i < 12; ++i) twelveNumbers += ";00495551234" + std::to_string(i % 10);
    for (const auto& [name, number] :
         {std::pair{std::string("Branches"), twelveNumbers}, std::pair{std::string(128, 'n'), std::string("555")}}) {
        const FileError refusal = book.Add(name, number);
        ASSERT_TRUE(refusal.has_value());
        EXPECT_NE(refusal->find("127"), std::string::npos) << *refusal;
    }
    EXPECT_EQ(book.Count(), 0u);
    EXPECT_EQ(files.files.at(kFolder + "numbers.csv"), "");
    ASSERT_EQ(book.Add(std::string(127, 'n'), twelveNumbers.substr(0, 127)), std::nullopt);     // at the limit
    EXPECT_EQ(AddressBook(0, kFolder, files).RefusalToStore("", twelveNumbers), std::nullopt);  // no fields
}

TEST(AddressBook, ATypedNameFindsItsEntryExactlyOrIgnoringCase) {
    FakeFiles files;
    files.folders.insert(kFolder);
    files.files[kFolder + "numbers.csv"] = "Bob,1\r\nbob,2\r\n\r\nAlice,3\r\nAlice,4\r\n";
    AddressBook book(1, kFolder, files);
    ASSERT_EQ(book.Load(), std::nullopt);
    EXPECT_EQ(book.EntryNamed("bob"), 1u);            // the exact name before one that differs in case
    EXPECT_EQ(book.EntryNamed("ALICE"), 3u);          // the first of equal names
    EXPECT_EQ(book.EntryNamed("Ali"), std::nullopt);  // a name still being typed picks nothing
    EXPECT_EQ(book.EntryNamed(""), std::nullopt);     // nor does an emptied box pick the blank line
}

TEST(AddressBook, AnEmptyNameChangesNothing) {
    FakeFiles files;
    files.folders.insert(kFolder);
    AddressBook book(1, kFolder, files);
    ASSERT_EQ(book.Load(), std::nullopt);
    const int writesAfterLoad = files.writes;
    EXPECT_EQ(book.Add("", "555"), std::nullopt);
    EXPECT_EQ(book.Remove(3), std::nullopt);
    EXPECT_EQ(book.Count(), 0u);
    EXPECT_EQ(files.writes, writesAfterLoad);
}

TEST(AddressBook, OtherTypesStartEmptyAndNeverTouchAFile) {
    FakeFiles files;
    files.folders.insert(kFolder);
    files.files[kFolder + "numbers.csv"] = "\"Alice\",\"111\"\r\n";
    AddressBook book(5, kFolder, files);
    ASSERT_EQ(book.Load(), std::nullopt);
    EXPECT_EQ(book.Count(), 0u);
    ASSERT_EQ(book.Add("Bob", "222"), std::nullopt);
    ASSERT_EQ(book.Add("Carol", "333"), std::nullopt);
    ASSERT_EQ(book.Remove(0), std::nullopt);
    EXPECT_EQ(book.Names(), (std::vector<std::string>{"Carol"}));
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(files.files.size(), 1u);
}

TEST(AddressBook, AMissingFolderIsCreatedWithEmptyFiles) {
    FakeFiles files;
    AddressBook textBook(0, "", files);
    ASSERT_EQ(textBook.Load(), std::nullopt);
    EXPECT_EQ(files.files.at("C:\\Program Files\\Tolvane\\names.txt"), "");
    EXPECT_EQ(files.files.at("C:\\Program Files\\Tolvane\\numbers.txt"), "");
    AddressBook csvBook(1, "D:\\New", files);
    ASSERT_EQ(csvBook.Load(), std::nullopt);
    EXPECT_EQ(files.files.at("D:\\New\\numbers.csv"), "");
}

TEST(AddressBook, FileErrorsNameTheFileAndKeepTheListsInMemory) {
    FakeFiles files;
    files.folderCreationFails = true;
    AddressBook uncreatable(1, "Z:\\Missing\\Deeper", files);
    const FileError loadError = uncreatable.Load();
    ASSERT_TRUE(loadError.has_value());
    EXPECT_NE(loadError->find("Z:\\Missing\\Deeper\\numbers.csv"), std::string::npos) << *loadError;

    files.folders.insert(kFolder);
    files.files[kFolder + "names.txt"] = "Alice\r\n";
    files.unreadable.insert(kFolder + "numbers.txt");
    AddressBook halfLoaded(0, kFolder, files);
    const FileError readError = halfLoaded.Load();
    ASSERT_TRUE(readError.has_value());
    EXPECT_NE(readError->find("numbers.txt"), std::string::npos);
    EXPECT_EQ(halfLoaded.Count(), 1u);

    files.files[kFolder + "numbers.csv"] = "";
    files.unwritable.insert(kFolder + "numbers.csv");
    AddressBook readOnly(1, kFolder, files);
    ASSERT_EQ(readOnly.Load(), std::nullopt);
    const FileError writeError = readOnly.Add("Bob", "222");
    ASSERT_TRUE(writeError.has_value());
    EXPECT_NE(writeError->find("C:\\Book\\numbers.csv"), std::string::npos);
    EXPECT_EQ(readOnly.Names(), (std::vector<std::string>{"Bob"}));
    EXPECT_EQ(files.files.at(kFolder + "numbers.csv"), "");
}

TEST(AddressBook, FilesThatCouldNotBeReadAreNeverOverwritten) {
    FakeFiles files;
    files.folders.insert(kFolder);
    const std::string csv = kFolder + "numbers.csv";
    files.files[csv] = "\"Alice\",\"111\"\r\n\"Bob\",\"222\"\r\n";
    files.unreadable.insert(csv);
    AddressBook csvBook(1, kFolder, files);
    ASSERT_TRUE(csvBook.Load().has_value());
    const FileError addError = csvBook.Add("Carol", "333");
    ASSERT_TRUE(addError.has_value());
    EXPECT_NE(addError->find(csv), std::string::npos) << *addError;
    EXPECT_EQ(csvBook.Names(), (std::vector<std::string>{"Carol"}));  // kept for this run
    EXPECT_TRUE(csvBook.Remove(0).has_value());
    EXPECT_EQ(files.files.at(csv), "\"Alice\",\"111\"\r\n\"Bob\",\"222\"\r\n");

    // Two files: the names were read, the numbers were not; neither is rewritten.
    files.files[kFolder + "names.txt"] = "Alice\r\nBob\r\n";
    files.files[kFolder + "numbers.txt"] = "111\r\n222\r\n";
    files.unreadable.insert(kFolder + "numbers.txt");
    AddressBook textBook(0, kFolder, files);
    ASSERT_TRUE(textBook.Load().has_value());
    const int writesBefore = files.writes;
    EXPECT_TRUE(textBook.Add("Carol", "333").has_value());
    EXPECT_EQ(files.writes, writesBefore);
    EXPECT_EQ(files.files.at(kFolder + "names.txt"), "Alice\r\nBob\r\n");
    EXPECT_EQ(files.files.at(kFolder + "numbers.txt"), "111\r\n222\r\n");

    // Once the file reads again, a new load saves as usual.
    files.unreadable.clear();
    ASSERT_EQ(csvBook.Load(), std::nullopt);
    ASSERT_EQ(csvBook.Add("Carol", "333"), std::nullopt);
    EXPECT_EQ(files.files.at(csv), "\"Alice\",\"111\"\r\n\"Bob\",\"222\"\r\n\"Carol\",\"333\"\r\n");
}

}  // namespace
}  // namespace tolvane
