#include "check/content_check.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "activities/picture_numbers.h"
#include "content/data_file_reader.h"
#include "graphics/menu_picture_files.h"
#include "platform/portable/decode_pool.h"
#include "platform/portable/path_resolution.h"
#include "sound/dsound.h"

namespace ContentCheck {

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

// The jobs of the check, each file once, with the report's counts.
class JobList {
  public:
    void Add(FileJob job, int32_t& count) {
        if (seen_
                .insert(job.path + '|' + std::to_string(job.width) + 'x' +
                        std::to_string(job.height))
                .second) {
            jobs_.push_back(std::move(job));
            ++count;
        }
    }
    const std::vector<FileJob>& Jobs() const { return jobs_; }

  private:
    std::vector<FileJob> jobs_;
    std::unordered_set<std::string> seen_;
};

void AddMenuPictures(JobList& jobs, Report& report) {
    std::vector<GameUtil::PictureFile> files = GameUtil::MainSetPictureFiles();
    const std::vector<GameUtil::PictureFile> choices = GameUtil::ChoiceSetPictureFiles();
    files.insert(files.end(), choices.begin(), choices.end());
    for (const GameUtil::PictureFile& file : files) {
        jobs.Add({false, platform::NativePath(file.path), file.width, file.height},
                 report.menuPictures);
    }
}

void AddSounds(JobList& jobs, Report& report) {
    for (const DSound::BankEntry& entry : DSound::kBank) {
        jobs.Add({true, platform::NativePath(entry.fileName)}, report.sounds);
    }
}

// One series of an item: pictures 0 to `last` below the item's folder and `setFolder`. A
// negative last still shows picture 0 when the series is played forwards.
void AddSeries(JobList& jobs, Report& report, const std::string& folder,
               const std::string& setFolder, int32_t last, int32_t series) {
    for (int32_t n = 0; n <= std::max(last, 0); ++n) {
        const std::string path =
            folder + setFolder + ActivityPictures::NumberText(n) + ActivityPictures::kExtension;
        jobs.Add({false, platform::NativePath(path), kScreenWidth, kScreenHeight, series},
                 report.activityPictures);
    }
}

void AddActivityPictures(JobList& jobs, Report& report, const std::vector<ItemInfo>& items) {
    int32_t series = 0;
    for (const ItemInfo& item : items) {
        for (const bool simple : {true, false}) {
            AddSeries(jobs, report, item.folder, ActivityPictures::BuildUpFolder(simple),
                      simple ? item.simpleLast : item.complexLast, series++);
            if (item.filmLast >= 0) {
                AddSeries(jobs, report, item.folder, ActivityPictures::FilmFolder(simple),
                          item.filmLast, series++);
            }
        }
    }
}

// The theme files' problems, and the items they hold as far as they could be read.
std::vector<ItemInfo> CheckThemeFiles(Report& report) {
    std::vector<ItemInfo> items;
    for (const DataFileReader::ThemeFile& theme : DataFileReader::kThemeFiles) {
        const std::string native = platform::NativePath(theme.fileName);
        const DataFileReader::ThemeFileCheck check = DataFileReader::CheckItemFile(theme.fileName);
        ++report.themeFiles;
        for (const DataFileReader::FileProblem& problem : check.problems) {
            report.problems.push_back({native, "", 1, problem.line, problem.Text()});
        }
        report.items += static_cast<int32_t>(check.items.size());
        items.insert(items.end(), check.items.begin(), check.items.end());
    }
    return items;
}

// The decoders' findings in the order of the jobs; neighbouring pictures of one series with the
// same fault (a missing folder, a film shorter than its record says) become one problem.
void AddDecodeProblems(Report& report, const std::vector<FileJob>& jobs,
                       const std::vector<std::string>& results) {
    size_t previous = jobs.size();  // the job of the last problem added here
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (results[i].empty()) {
            continue;
        }
        if (previous + 1 == i && jobs[i].series >= 0 && jobs[i].series == jobs[previous].series &&
            results[i] == results[previous]) {
            Problem& run = report.problems.back();
            run.lastFile = jobs[i].path;
            ++run.files;
        } else {
            report.problems.push_back({jobs[i].path, "", 1, 0, results[i]});
        }
        previous = i;
    }
}

// The readers' messages start with the file's name; the report puts it in front itself.
std::string WithoutPath(const std::string& message, const std::string& path) {
    const std::string prefix = path + ": ";
    return message.starts_with(prefix) ? message.substr(prefix.size()) : message;
}

// SDL reads the sounds and keeps an error text per thread that only its own threads give back.
bool ReadBySdl(const FileJob& job) {
    const std::string& path = job.path;
    return job.sound || path.ends_with(".bmp") || path.ends_with(".BMP");
}

}  // namespace

std::vector<std::string> DecodeAll(const std::vector<FileJob>& jobs, const Readers& readers,
                                   unsigned workers) {
    std::vector<std::string> results(jobs.size());
    const std::unique_ptr<platform::PictureDecoder> decoder = readers.newPictureDecoder();
    platform::DecodePool pool(
        readers.newPictureDecoder,
        std::clamp<unsigned>(workers, 1, std::max<size_t>(jobs.size(), 1)) - 1, jobs.size(),
        [&](size_t i, platform::PictureDecoder& own) {
            const FileJob& job = jobs[i];
            try {
                if (job.sound) {
                    readers.decodeSound(job.path);
                } else {
                    own.Decode(job.path, job.width, job.height);
                }
            } catch (const std::exception& failure) {
                results[i] = WithoutPath(failure.what(), job.path);
                if (results[i].empty()) {
                    results[i] = "cannot be decoded";
                }
            }
        },
        SIZE_MAX, [&](size_t i) { return ReadBySdl(jobs[i]); });
    while (pool.Left() > 0) {
        pool.TakeNext(*decoder);
    }
    return results;
}

std::string Problem::Text() const {
    std::string where = file;
    if (line > 0) {
        where += ":" + std::to_string(line);
    }
    if (!lastFile.empty()) {
        where += " to " + lastFile + " (" + std::to_string(files) + " files)";
    }
    return where + ": " + what;
}

int32_t Report::FilesWithProblems() const {
    std::set<std::string> single;
    int32_t inRuns = 0;
    for (const Problem& problem : problems) {
        if (problem.files > 1) {
            inRuns += problem.files;
        } else {
            single.insert(problem.file);
        }
    }
    return inRuns + static_cast<int32_t>(single.size());
}

std::string Report::Summary(const std::string& folder) const {
    std::string line = "checked " + folder + ": " + std::to_string(themeFiles) +
                       " theme files with " + std::to_string(items) + " items, " +
                       std::to_string(menuPictures) + " menu pictures, " + std::to_string(sounds) +
                       " sounds, " + std::to_string(activityPictures) + " activity pictures: ";
    if (problems.empty()) {
        return line + "no problems";
    }
    const size_t count = problems.size();
    const int32_t files = FilesWithProblems();
    return line + std::to_string(count) + (count == 1 ? " problem" : " problems") + " in " +
           std::to_string(files) + (files == 1 ? " file" : " files");
}

Report CheckContent(const Readers& readers, unsigned workers) {
    Report report;
    const std::vector<ItemInfo> items = CheckThemeFiles(report);
    JobList jobs;
    AddMenuPictures(jobs, report);
    AddSounds(jobs, report);
    AddActivityPictures(jobs, report, items);
    const std::vector<std::string> results = DecodeAll(jobs.Jobs(), readers, workers);
    AddDecodeProblems(report, jobs.Jobs(), results);
    return report;
}

}  // namespace ContentCheck
