#include <array>
#include <cctype>
#include <optional>

#include "content/data_file_reader.h"
#include "kit/content_folder.h"
#include "kit/kit.h"
#include "kit/kit_error.h"
#include "kit/menu_cell.h"
#include "kit/photo.h"
#include "kit/picture_fit.h"
#include "kit/series.h"
#include "kit/theme_record.h"
#include "kit/windows1252.h"
#include "make_demo/jpeg_writer.h"
#include "make_demo/theme_style.h"
#include "platform/portable/content_search.h"
#include "platform/portable/path_resolution.h"

namespace fs = std::filesystem;

namespace kit {
namespace {

// Where a first run copies its content from: the folder the program itself would use (the
// current directory, the per-user folder, the installed demo), else the current directory.
fs::path ContentTheProgramWouldUse() {
    std::vector<std::string_view> themeFiles;
    for (const DataFileReader::ThemeFile& theme : DataFileReader::kThemeFiles) {
        themeFiles.emplace_back(theme.fileName);
    }
    const platform::ContentSearch search = platform::FindContentFolder(themeFiles);
    return search.found ? fs::path(*search.found) : fs::current_path();
}

using make_demo::Canvas;
using make_demo::Theme;

constexpr std::array<const char*, 4> kThemeNames = {"Yrke", "Musik", "Sport", "Djur"};
constexpr size_t kLongestName = 40;
constexpr char kUndoFolder[] = ".quillowbee-kit-undo";

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Everything a run works out from its options before it touches anything.
struct Plan {
    Theme theme;
    std::string themeName;
    int slot;  // 0..7
    fs::path content;
    fs::path themeFile, subMenu, note, button, itemPage;
    fs::path undoEntry;
};

Plan MakePlan(const KitOptions& options) {
    Plan plan{};
    const std::string wanted = Lower(options.theme);
    int number = 0;
    for (int t = 0; t < 4; ++t) {
        if (Lower(kThemeNames[t]) == wanted) number = t + 1;
    }
    if (number == 0) {
        UsageFail("unknown theme \"" + options.theme + "\": use Yrke, Musik, Sport or Djur");
    }
    if (options.position < 1 || options.position > 8) {
        UsageFail("position " + std::to_string(options.position) +
                  " is outside 1..8 (1-4 the top row, 5-8 the bottom row)");
    }
    plan.theme = static_cast<Theme>(number);
    plan.themeName = kThemeNames[number - 1];
    plan.slot = options.position - 1;
    plan.content = options.content.empty() ? DefaultContentFolder() : options.content;
    return plan;
}

void ResolveFiles(Plan& plan) {
    const int item = (static_cast<int>(plan.theme) - 1) * 8 + plan.slot;
    const std::string twoDigits = (item < 10 ? "0" : "") + std::to_string(item);
    plan.themeFile = ResolveIn(plan.content, "Data\\" + plan.themeName + ".dat");
    plan.subMenu = ResolveIn(plan.content, "Grafik\\Meny\\" + plan.themeName + "Meny1.jpg");
    plan.note =
        ResolveIn(plan.content,
                  "Grafik\\Meny\\Lapp" + std::to_string(static_cast<int>(plan.theme) - 1) + ".jpg");
    plan.button = ResolveIn(plan.content, "Grafik\\Meny\\Knapp1_" + twoDigits + ".jpg");
    plan.itemPage = ResolveIn(plan.content, "Grafik\\Meny\\Val\\8Meny.jpg");
    plan.undoEntry =
        plan.content / kUndoFolder / (plan.themeName + "-" + std::to_string(plan.slot + 1));
}

// The name in Windows-1252, checked: something to show, nothing the theme file cannot hold.
std::string CheckedName(const std::string& name) {
    std::string offending;
    const std::optional<std::string> bytes = Utf8ToWindows1252(name, &offending);
    if (!bytes) {
        UsageFail("the name \"" + name + "\" holds " + offending +
                  ", which the theme files cannot hold (Windows-1252); choose another name");
    }
    bool shown = false;
    for (const char c : *bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 32 || b == 127)
            UsageFail("the name holds a control character; choose another name");
        if (b > 32) shown = true;
    }
    if (!shown) UsageFail("the name is empty; give the item a name with --name");
    if (bytes->size() > kLongestName) {
        UsageFail("the name is longer than " + std::to_string(kLongestName) +
                  " letters; choose a shorter one");
    }
    return *bytes;
}

// The name as a folder and remark can hold it: spaces (which the reader drops) and the
// characters a folder name cannot hold become '_'.
std::string FileSafe(const std::string& windows1252) {
    std::string safe;
    for (const char c : windows1252) {
        const bool unsafe = c == ' ' || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' ||
                            c == '"' || c == '<' || c == '>' || c == '|';
        safe.push_back(unsafe ? '_' : c);
    }
    return safe;
}

std::optional<std::string> ReadIfThere(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    return ReadWholeFile(path);
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
    WriteStagedFile(path, bytes);
}

std::string PictureName(int number) {
    return (number < 9 ? "0" : "") + std::to_string(number + 1) + ".jpg";
}

// The build-up and film of the item below `folder` (a native folder); returns its record.
ItemRecord WriteSeries(const fs::path& folder, const std::vector<Canvas>& works,
                       make_demo::Rgb board) {
    ItemRecord record;
    auto sinkInto = [](fs::path series) {
        return [series](int number, const Canvas& picture) {
            WriteBytes(series / PictureName(number),
                       make_demo::EncodeJpeg(picture, make_demo::JpegQuality::Series));
        };
    };
    record.simpleLast = static_cast<int16_t>(WritePuzzleSeries(
        works[0], kSimpleColumns, kSimpleRows, board, sinkInto(folder / "Enkel" / "Byggupp")));
    // The detailed build-up is of the last photo when there are several: both sets show a
    // picture of their own.
    record.complexLast =
        static_cast<int16_t>(WritePuzzleSeries(works.back(), kComplexColumns, kComplexRows, board,
                                               sinkInto(folder / "Komplex" / "Byggupp")));
    std::vector<const Canvas*> pointers;
    for (const Canvas& work : works) pointers.push_back(&work);
    // Both sets play the same film: the record holds one list of delays for both.
    record.filmDelays = WriteFilmSeries(pointers, [&](int number, const Canvas& picture) {
        const std::string bytes = make_demo::EncodeJpeg(picture, make_demo::JpegQuality::Series);
        WriteBytes(folder / "Enkel" / "Film" / PictureName(number), bytes);
        WriteBytes(folder / "Komplex" / "Film" / PictureName(number), bytes);
    });
    record.filmLast = static_cast<int16_t>(record.filmDelays.size() - 1);
    return record;
}

// The native path of a record's folder text below the content folder.
fs::path FolderPath(const fs::path& content, const std::string& folderText) {
    return ResolveIn(content, platform::Windows1252ToUtf8(folderText));
}

void CheckRecords(const std::string& before, const std::string& after, int slot,
                  const ItemRecord& wanted) {
    const std::vector<ItemRecord> old = ReadRecords(before);
    const std::vector<ItemRecord> now = ReadRecords(after);
    for (int s = 0; s < 8; ++s) {
        const ItemRecord& expected = s == slot ? wanted : old[static_cast<size_t>(s)];
        const ItemRecord& got = now[static_cast<size_t>(s)];
        if (got.folder != expected.folder || got.simpleLast != expected.simpleLast ||
            got.complexLast != expected.complexLast || got.filmDelays != expected.filmDelays ||
            got.remark != expected.remark) {
            Fail("the new theme file does not read back as written (record " +
                 std::to_string(s + 1) + "); nothing was changed");
        }
    }
}

}  // namespace

std::string NameFromRecord(const std::string& folder) {
    std::string last = folder;
    while (!last.empty() && last.back() == '\\') last.pop_back();
    last = last.substr(last.find_last_of('\\') + 1);
    if (last.size() > 6 && last.compare(0, 4, "Egen") == 0 && last[5] == '_') last.erase(0, 6);
    for (char& c : last) {
        if (c == '_') c = ' ';
    }
    return platform::Windows1252ToUtf8(last);
}

KitResult MakeItem(const KitOptions& options) {
    Plan plan = MakePlan(options);
    if (!options.name.empty()) CheckedName(options.name);
    if (options.photos.empty()) UsageFail("no photo given: name one or more JPEG or PNG photos");
    if (options.photos.size() > static_cast<size_t>(kMostPhotos)) {
        UsageFail("more than " + std::to_string(kMostPhotos) + " photos; choose fewer");
    }

    // The photos first: a file that is not a picture ends the run before anything is written.
    const make_demo::Rgb board = make_demo::ThemePale(plan.theme);
    std::vector<Canvas> works;
    for (const fs::path& photo : options.photos) {
        works.push_back(FitPhoto(LoadPhoto(photo), board));
    }

    KitResult result;
    result.copiedContent = EnsureContent(
        plan.content, options.seedFrom.empty() ? ContentTheProgramWouldUse() : options.seedFrom,
        options.beforeStep);
    ResolveFiles(plan);
    const std::string oldThemeFile = ReadWholeFile(plan.themeFile);
    ReadRecords(oldThemeFile);  // a theme file the program cannot read is not made worse
    const RecordSpan oldSpan = FindRecord(oldThemeFile, plan.slot);
    const std::string shownName =
        options.name.empty()
            ? NameFromRecord(ReadRecords(oldThemeFile)[static_cast<size_t>(plan.slot)].folder)
            : options.name;
    const std::string name = CheckedName(shownName);

    ItemRecord record;
    record.folder =
        plan.themeName + "\\Egen" + std::to_string(plan.slot + 1) + "_" + FileSafe(name) + "\\";
    record.remark = FileSafe(name);

    const StageFolder stage(plan.content);
    const fs::path made = stage.Path() / "new";
    const fs::path keep = stage.Path() / "undo";
    const ItemRecord series = WriteSeries(made / "item", works, board);
    record.simpleLast = series.simpleLast;
    record.complexLast = series.complexLast;
    record.filmLast = series.filmLast;
    record.filmDelays = series.filmDelays;

    const MenuPictures pictures =
        DrawMenuPictures(ReadIfThere(plan.subMenu), ReadIfThere(plan.note), plan.theme, plan.slot,
                         shownName, works[0]);
    WriteStagedFile(made / "submenu.jpg", pictures.subMenu);
    WriteStagedFile(made / "note.jpg", pictures.note);
    WriteStagedFile(made / "button.jpg", pictures.button);
    // The choices screen's item page shows the item's new small picture too.
    const std::optional<std::string> itemPage = ReadIfThere(plan.itemPage);
    if (itemPage) {
        WriteStagedFile(made / "itempage.jpg",
                        DrawItemPage(*itemPage, plan.theme, plan.slot, works[0]));
    }
    const std::string newThemeFile =
        ReplaceRecord(oldThemeFile, plan.slot, RecordText(record, LineEndOf(oldThemeFile)));
    CheckRecords(oldThemeFile, newThemeFile, plan.slot, record);
    WriteStagedFile(made / "theme.dat", newThemeFile);

    // What UndoItem needs: the old record's bytes and where the new item's pictures are.
    const fs::path itemFolder = FolderPath(plan.content, record.folder);
    WriteStagedFile(keep / "record",
                    oldThemeFile.substr(oldSpan.begin, oldSpan.end - oldSpan.begin));
    WriteStagedFile(keep / "folder", fs::relative(itemFolder, plan.content).string());

    FlushToDisk(stage.Path());
    Transaction move(options.beforeStep);
    move.Replace(made / "item", itemFolder, keep / "item", "item pictures");
    move.Replace(made / "submenu.jpg", plan.subMenu, keep / "submenu.jpg", "sub-menu picture");
    move.Replace(made / "note.jpg", plan.note, keep / "note.jpg", "note picture");
    move.Replace(made / "button.jpg", plan.button, keep / "button.jpg", "button picture");
    if (itemPage) {
        move.Replace(made / "itempage.jpg", plan.itemPage, keep / "itempage.jpg",
                     "item page picture");
    }
    move.Replace(made / "theme.dat", plan.themeFile, keep / "theme.dat", "theme file");
    move.Replace(keep, plan.undoEntry, stage.Path() / "older-undo", "undo copy");
    move.Commit();

    result.content = plan.content;
    result.itemFolder = itemFolder;
    result.folderText = record.folder;
    result.item = (static_cast<int>(plan.theme) - 1) * 8 + plan.slot;
    result.button = plan.button;
    if (itemPage) {
        result.itemPage = plan.itemPage;
        const PageBox box = ItemPageBox(plan.theme, plan.slot);
        result.itemPageBox = {box.x, box.y};
    }
    return result;
}

KitResult UndoItem(const KitOptions& options) {
    Plan plan = MakePlan(options);
    if (!HoldsContent(plan.content)) {
        Fail(plan.content.string() + " holds no content; nothing to undo");
    }
    ResolveFiles(plan);
    std::error_code error;
    if (!fs::is_directory(plan.undoEntry, error)) {
        Fail("nothing to undo for " + plan.themeName + " position " +
             std::to_string(plan.slot + 1) + " in " + plan.content.string() +
             ": the kit has not replaced an item there");
    }
    const fs::path entry = plan.undoEntry;
    const std::string oldThemeFile = ReadWholeFile(plan.themeFile);
    const std::string record = ReadWholeFile(entry / "record");
    const std::string newThemeFile = ReplaceRecord(oldThemeFile, plan.slot, record);
    const std::vector<ItemRecord> restored = ReadRecords(newThemeFile);

    const StageFolder stage(plan.content);
    const fs::path made = stage.Path() / "new";
    const fs::path trash = stage.Path() / "trash";
    WriteStagedFile(made / "theme.dat", newThemeFile);
    // The old cell comes back into the menu pictures; cells made since for other positions stay.
    const std::optional<std::string> subMenu = ReadIfThere(plan.subMenu);
    const std::optional<std::string> oldSubMenu = ReadIfThere(entry / "submenu.jpg");
    if (subMenu && oldSubMenu) {
        WriteStagedFile(made / "submenu.jpg", CopyCell(*subMenu, *oldSubMenu, plan.slot));
    }
    const std::optional<std::string> note = ReadIfThere(plan.note);
    const std::optional<std::string> oldNote = ReadIfThere(entry / "note.jpg");
    if (note && oldNote) {
        WriteStagedFile(made / "note.jpg", CopyCell(*note, *oldNote, plan.slot));
    }

    const std::optional<std::string> itemPage = ReadIfThere(plan.itemPage);
    const std::optional<std::string> oldItemPage = ReadIfThere(entry / "itempage.jpg");
    if (itemPage && oldItemPage) {
        WriteStagedFile(made / "itempage.jpg",
                        CopyItemPageBox(*itemPage, *oldItemPage, plan.theme, plan.slot));
    }

    const fs::path kitFolder = plan.content / ReadWholeFile(entry / "folder");
    FlushToDisk(stage.Path());
    Transaction move(options.beforeStep);
    if (fs::exists(entry / "item")) {
        move.Replace(entry / "item", kitFolder, trash / "item", "item pictures");
    } else if (fs::exists(kitFolder)) {
        move.Remove(kitFolder, trash / "item", "item pictures");
    }
    if (subMenu && oldSubMenu) {
        move.Replace(made / "submenu.jpg", plan.subMenu, trash / "submenu.jpg", "sub-menu picture");
    }
    if (note && oldNote) {
        move.Replace(made / "note.jpg", plan.note, trash / "note.jpg", "note picture");
    }
    if (itemPage && oldItemPage) {
        move.Replace(made / "itempage.jpg", plan.itemPage, trash / "itempage.jpg",
                     "item page picture");
    }
    if (fs::exists(entry / "button.jpg")) {
        move.Replace(entry / "button.jpg", plan.button, trash / "button.jpg", "button picture");
    }
    move.Replace(made / "theme.dat", plan.themeFile, trash / "theme.dat", "theme file");
    move.Remove(entry, trash / "undo", "undo copy");
    move.Commit();

    KitResult result;
    result.content = plan.content;
    result.folderText = restored[static_cast<size_t>(plan.slot)].folder;
    result.itemFolder = FolderPath(plan.content, result.folderText);
    result.item = (static_cast<int>(plan.theme) - 1) * 8 + plan.slot;
    return result;
}

}  // namespace kit
