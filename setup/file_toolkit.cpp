#include "setup/file_toolkit.h"

#include "common/letter_case.h"

namespace tolvane {
namespace {

std::u16string_view WithoutTrailingBackslash(std::u16string_view path) {
    while (path.size() > 1 && path.back() == u'\\') path.remove_suffix(1);
    return path;
}

bool SamePath(std::u16string_view a, std::u16string_view b) {
    return EqualsIgnoringCase(WithoutTrailingBackslash(a), WithoutTrailingBackslash(b));
}

}  // namespace

bool CopyKeepingRealFiles(FileSystem& files, std::u16string_view from, std::u16string_view to) {
    if (files.Exists(to) && files.FileStartsWith(from, kStandInMarker)) return false;
    return files.CopyFile(from, to);
}

bool PlaceDriverFile(FileSystem& files, std::u16string_view from, std::u16string_view driverDir,
                     std::u16string_view name) {
    const std::u16string to = JoinPath(driverDir, name);
    if (files.FileStartsWith(from, kStandInMarker) &&
        (files.Exists(to) || files.Exists(JoinPath(JoinPath(driverDir, u"3"), name))))
        return false;
    return files.CopyFile(from, to);
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (!path.empty() && path.back() != u'\\') path += u'\\';
    path += name;
    return path;
}

void ExtractDriverPackage(FileSystem& files, bool is32Bit, std::u16string_view folder) {
    for (const EmbeddedFile& file : is32Bit ? kDriverFiles32 : kDriverFiles64)
        files.ExtractResource(file.type, file.id, JoinPath(folder, file.fileName));
    const EmbeddedFile& monitor = is32Bit ? kMonitor32 : kMonitor64;
    files.ExtractResource(monitor.type, monitor.id, JoinPath(folder, monitor.fileName));
}

bool CopyFolderToSystemDir(FileSystem& files, int bitness, std::u16string_view source, bool native) {
    const std::u16string systemDir = files.SystemDirectory();
    for (const FolderEntry& entry : files.ListFolder(source)) {
        const std::u16string from = JoinPath(source, entry.name);
        if (entry.isFolder) {
            // Without the redirection switch no native copy can succeed, so
            // the whole copy ends at the first folder that finds it missing.
            if (!CopyFolderToSystemDir(files, bitness, from, native)) return false;
        } else if (bitness != 64) {
            files.CopyFile(from, JoinPath(systemDir, entry.name));
        } else if (native) {
            const std::u16string to = JoinPath(systemDir, entry.name);
            if (!files.WithoutFsRedirection([&] { files.CopyFile(from, to); })) return false;
        } else {
            files.CopyFile(from, JoinPath(JoinPath(systemDir, u"Tolvane"), entry.name));
        }
    }
    return true;
}

void CopyDriverFolder(FileSystem& files, std::u16string_view source, std::u16string_view driverDir) {
    for (const FolderEntry& entry : files.ListFolder(source)) {
        const std::u16string from = JoinPath(source, entry.name);
        if (entry.isFolder) {
            CopyDriverFolder(files, from, driverDir);
        } else {
            PlaceDriverFile(files, from, driverDir, entry.name);
        }
    }
}

void CopyTree(FileSystem& files, std::u16string_view source, std::u16string_view destination) {
    if (SamePath(source, destination)) return;  // started from its install folder: nothing to copy
    for (const FolderEntry& entry : files.ListFolder(source)) {
        const std::u16string from = JoinPath(source, entry.name);
        const std::u16string to = JoinPath(destination, entry.name);
        if (entry.isFolder) {
            // A destination inside the source would be copied into itself
            // without end.
            if (SamePath(from, destination)) continue;
            files.CreateFolder(to);
            CopyTree(files, from, to);
        } else {
            files.CopyFile(from, to);
        }
    }
}

void DeleteTree(FileSystem& files, std::u16string_view folder) {
    for (const FolderEntry& entry : files.ListFolder(folder)) {
        const std::u16string path = JoinPath(folder, entry.name);
        if (entry.isFolder) {
            DeleteTree(files, path);
        } else {
            files.DeleteFile(path);
        }
    }
    files.RemoveFolder(folder);
}

}  // namespace tolvane
