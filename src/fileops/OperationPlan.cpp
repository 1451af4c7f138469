#include "fileops/OperationPlan.h"

#include <cwctype>
#include <iterator>
#include <map>

#include "fileops/PathRules.h"
#include "ui/Text.h"

namespace fileops {

const wchar_t kIntoItself[] = L"The destination folder is a subfolder of the source folder.";

namespace {

constexpr wchar_t kAllFiles[] = L"\\*.*";
constexpr size_t kAllFilesTail = std::size(kAllFiles) - 1;

bool EndsInAllFiles(const std::wstring &name) {
    return name.size() > kAllFilesTail && name.compare(name.size() - kAllFilesTail, kAllFilesTail, kAllFiles) == 0;
}

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The names of a shell name list, up to the empty name that ends it.
std::vector<std::wstring> NamesOf(const std::wstring &list) {
    std::vector<std::wstring> names;
    for (size_t start = 0; start < list.size() && list[start] != L'\0';) {
        size_t end = list.find(L'\0', start);
        if (end == std::wstring::npos)
            end = list.size();
        names.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// The folder a destination names: without a trailing "*.*" or "\".
std::wstring FolderOf(std::wstring name) {
    if (EndsInAllFiles(name))
        name.erase(name.size() - kAllFilesTail + 1);
    while (name.size() > 3 && name.back() == L'\\')
        name.pop_back();
    return name;
}

// "<folder>\*.*" of an existing folder is the folder, "\" kept ("C:" alone would be the drive's current one).
std::wstring DestinationName(const std::wstring &name, const IFileProbe &probe) {
    if (!EndsInAllFiles(name))
        return name;
    std::wstring directory = name.substr(0, name.size() - kAllFilesTail + 1);
    return IsFolder(probe.Attributes(directory)) ? directory : name;
}

// Where a source goes: inside a destination folder under its own name, or the destination itself.
std::wstring TargetOf(const std::wstring &source, const std::vector<std::wstring> &destinations, size_t index,
                      const IFileProbe &probe) {
    if (index >= destinations.size() || destinations[index].empty())
        return {};
    const std::wstring &destination = destinations[index];
    bool allFiles = EndsInAllFiles(destination);
    bool folder = destination.back() == L'\\' || IsFolder(probe.Attributes(destination));
    if (destinations.size() == 1 && (allFiles || folder)) {
        std::wstring name = source.substr(source.rfind(L'\\') + 1);
        std::wstring into = allFiles ? FolderOf(destination) : destination;
        if (into.back() != L'\\')
            into += L'\\';
        return into + name;
    }
    return destination;
}

// A path as the system resolves it, for comparing: "\\?\" form, "." and ".." resolved, upper case, no
// trailing "\".
std::wstring Comparable(const std::wstring &path) {
    std::wstring out = LongPath(path);
    while (!out.empty() && out.back() == L'\\')
        out.pop_back();
    for (wchar_t &c : out)
        c = static_cast<wchar_t>(towupper(c));
    return out;
}

bool Inside(const std::wstring &inner, const std::wstring &outer) {
    std::wstring a = Comparable(inner), b = Comparable(outer) + L"\\";
    return a.compare(0, b.size(), b) == 0;
}

unsigned long long Allocated(unsigned long long bytes, unsigned long unit) {
    return unit <= 1 ? bytes : (bytes + unit - 1) / unit * unit;
}

std::wstring Quoted(const std::wstring &path) { return L"\"" + path + L"\""; }

} // namespace

DWORD TSystemProbe::Attributes(const std::wstring &path) const {
    return GetFileAttributesW(LongPath(path).c_str());
}

bool TSystemProbe::ExistsExactly(const std::wstring &path) const { return ItemExistsExactly(path); }

TItemScan TSystemProbe::Scan(const std::wstring &source, const std::wstring &target, bool checkReading) const {
    return ScanItem(source, target, checkReading);
}

std::wstring TSystemProbe::Volume(const std::wstring &path) const { return VolumeOf(path); }

bool TSystemProbe::Space(const std::wstring &folder, unsigned long long &freeBytes, unsigned long &unit) const {
    if (!FreeSpaceQuery || !FreeSpaceQuery(folder, freeBytes))
        return false;
    unit = AllocationUnitOf(folder);
    return true;
}

TOperationPlan PlanOperation(TFileOp op, const std::wstring &filesFrom, const std::wstring &filesTo,
                             TFileOpFlags flags, const IFileProbe &probe) {
    TOperationPlan plan;
    const bool transfer = op == foCopy || op == foMove || op == foRename;
    const bool multiDest = (flags & FileOpFlagBit(fofMultiDestFiles)) != 0;
    const bool recycle = op == foDelete && (flags & FileOpFlagBit(fofAllowUndo));
    const bool confirm = !(flags & FileOpFlagBit(fofNoConfirmation));
    auto refuse = [&](const std::wstring &source, const std::wstring &why) {
        TPlannedItem item;
        item.source = source;
        item.route = TRoute::refused;
        item.why = why;
        plan.items.push_back(std::move(item));
    };

    std::vector<std::wstring> sources;
    for (const std::wstring &source : NamesOf(filesFrom)) {
        // What the shell would read as other items (a wildcard, a name it would cut) never reaches it.
        TNameTrouble trouble = PathTrouble(source);
        if (!ReachableByLongPath(trouble))
            refuse(source, L"It " + NotExactlyText(TroubleText(trouble)));
        else if (!probe.ExistsExactly(source))
            refuse(source, ui::SystemErrorText(ERROR_FILE_NOT_FOUND));
        else
            sources.push_back(source);
    }
    if (sources.empty())
        return plan;

    for (const std::wstring &name : NamesOf(filesTo))
        plan.destinations.push_back(DestinationName(name, probe));
    if (transfer) {
        for (const std::wstring &destination : plan.destinations) {
            // A wildcard in the last name is a pattern for the shell; anywhere else it names other folders.
            std::wstring checked = FolderOf(destination);
            size_t last = checked.rfind(L'\\');
            if (last != std::wstring::npos && checked.find_first_of(L"*?", last) != std::wstring::npos)
                checked.erase(last + 1);
            if (checked.empty())
                continue;
            TNameTrouble trouble = PathTrouble(checked);
            if (!ReachableByLongPath(trouble)) {
                plan.stopPath = destination;
                plan.stop = L"The destination " + NotExactlyText(TroubleText(trouble));
                return plan;
            }
        }
    }
    // Several sources and one destination: the destination is a folder, made when missing, as Windows'
    // shell does.
    if (transfer && !multiDest && sources.size() > 1 && plan.destinations.size() == 1 &&
        !IsFolder(probe.Attributes(plan.destinations[0]))) {
        plan.makeFolder = FolderOf(plan.destinations[0]);
        plan.destinations[0] = plan.makeFolder + L"\\";
    }

    std::map<std::wstring, std::pair<unsigned long long, unsigned long>> spaceLeft; // by volume: free, unit
    for (size_t i = 0; i < sources.size(); ++i) {
        TPlannedItem item;
        item.source = sources[i];
        item.target = transfer ? TargetOf(item.source, plan.destinations, multiDest ? i : 0, probe) : L"";
        DWORD sourceAttributes = probe.Attributes(item.source);
        if (transfer && !item.target.empty() && IsFolder(sourceAttributes) && Inside(item.target, item.source)) {
            refuse(item.source, kIntoItself);
            continue;
        }
        // The same name but for case is the same item (a case change), unless a twin has exactly that name.
        bool sameItem = transfer && _wcsicmp(item.target.c_str(), item.source.c_str()) == 0 &&
                        (item.target == item.source || !probe.ExistsExactly(item.target));
        DWORD targetAttributes =
            transfer && !item.target.empty() && !sameItem ? probe.Attributes(item.target) : INVALID_FILE_ATTRIBUTES;
        bool replaces = targetAttributes != INVALID_FILE_ATTRIBUTES;
        bool crossesVolumes =
            transfer && !item.target.empty() &&
            _wcsicmp(probe.Volume(item.source).c_str(), probe.Volume(item.target).c_str()) != 0;
        bool copies = op == foCopy || (op == foMove && crossesVolumes);
        item.scan = probe.Scan(item.source, item.target, copies);
        if (!item.scan.blocked.empty()) {
            refuse(item.source, L"It " + NotExactlyText(item.scan.blocked));
            continue;
        }
        if (copies && item.scan.unreadable) {
            refuse(item.source, Quoted(item.scan.unreadable.path) + L" cannot be read: " +
                                    ui::SystemErrorText(item.scan.unreadable.code));
            continue;
        }
        if (copies && !item.target.empty()) {
            // What the copy takes, in whole allocation units, less what the files it replaces give back.
            std::wstring folder = item.target.substr(0, item.target.rfind(L'\\') + 1);
            std::wstring volume = probe.Volume(folder);
            for (wchar_t &c : volume)
                c = static_cast<wchar_t>(towupper(c));
            auto space = spaceLeft.find(volume);
            if (space == spaceLeft.end()) {
                unsigned long long freeBytes = 0;
                unsigned long unit = 1;
                if (probe.Space(folder, freeBytes, unit))
                    space = spaceLeft.emplace(volume, std::make_pair(freeBytes, unit)).first;
            }
            if (space != spaceLeft.end()) {
                unsigned long unit = space->second.second;
                unsigned long long needed = 0, givenBack = 0;
                for (unsigned long long size : item.scan.sizes)
                    needed += Allocated(size, unit);
                for (const auto &before : item.scan.targetsBefore)
                    givenBack += Allocated(before.second.first, unit);
                unsigned long long available = space->second.first + givenBack;
                if (needed > available) {
                    refuse(item.source, ui::SystemErrorText(ERROR_DISK_FULL) + L" It needs " +
                                            std::to_wstring(needed) + L" bytes; " + volume + L" has " +
                                            std::to_wstring(space->second.first) + L" bytes free.");
                    continue;
                }
                space->second.first = available - needed;
            }
        }
        // A wildcard the user typed in the destination stays the shell's to read.
        TNameTrouble targetTrouble = item.target.empty() ? TNameTrouble::none : PathTrouble(item.target);
        bool exactPathsNeeded = PathTrouble(item.source) != TNameTrouble::none || item.scan.longPaths ||
                                (targetTrouble != TNameTrouble::none && ReachableByLongPath(targetTrouble));
        if (exactPathsNeeded && recycle) {
            refuse(item.source, L"The Recycle Bin cannot take it: " + TroubleText(PathTrouble(item.source)) +
                                    L" or a name inside it is such. Shift+Delete deletes it for good.");
            continue;
        }
        if (replaces && confirm)
            item.question = !IsFolder(targetAttributes) && (targetAttributes & FILE_ATTRIBUTE_READONLY)
                                ? TQuestion::replaceReadOnly
                                : TQuestion::replace;
        // The program does what the shell would do through links, or without asking about read-only files,
        // or without saying that a replace was refused; and whatever the shell would read as another item.
        bool own = exactPathsNeeded || replaces || (!recycle && !item.scan.links.empty()) ||
                   (op == foDelete && !recycle && item.scan.readOnly) ||
                   (transfer && item.target != item.source && sameItem);
        item.route = own ? TRoute::own : TRoute::shell;
        plan.items.push_back(std::move(item));
    }
    return plan;
}

} // namespace fileops
