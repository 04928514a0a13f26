#pragma once

#include "paper/Newspaper.h"
#include "paper/PageModel.h"
#include "paper/PrintTarget.h"

#include <array>
#include <string>

namespace zorbe {

class ProfileFile;
struct TRaceCard;

// RaceNumberWide entries 1..12 ("１" … "９", "１０", "１１", "１２").
void fillRaceNumberWide(TNewspaper &paper);

// The 51-byte cp932 check-box caption of race r (0-based): race label,
// age and breed, class, course, distance, "ｍ", runners, "頭". Parts whose
// codes are outside the tables keep the text of `previous` (the previous
// race's caption; blank for the first race).
std::string RaceCaptionText(const TRaceCard &card, int r, const std::string &previous);

// What activating the race selection window builds: RaceNumberWide, the
// RaceCaption of every race of the day, RunnerCounts (races that do not
// exist keep their count). Throws ConversionError for a runner count that
// is not a number.
void buildRaceSelection(TNewspaper &paper);

// Texts of the settings panel and margin labels (UTF-8, for display) and
// the minimums of the margin up-downs, from the newspaper settings.
struct TRaceSelectionTexts
{
    std::string label3, label4, label5, label6, label7, label8, label12, label13, label27;
    int topMin = 4;
    int leftMin = 5;
    bool showPickLabels = true; // Label5..Label7 apply to the vertical and horizontal pages
};
TRaceSelectionTexts raceSelectionTexts(const TPaperSettings &settings);

// The four edits read from / written to the settings section 拡大縮小
// (the keys of the vertical page or of the other two styles), and the
// values "余白初期値" puts back.
TPrintEdits readPrintEdits(const ProfileFile &settingsFile, PageStyle style);
void savePrintEdits(ProfileFile &settingsFile, PageStyle style, const TPrintEdits &edits);
TPrintEdits resetMargins(PageStyle style);

// Print job title: venue of the day's first race + yy + month + day +
// two-digit race number (cp932).
std::string printJobTitle(const TRaceCard &card, int race);

// The progress window's text for race r: Label1 text + the race label +
// "出力中" (cp932).
std::string batchProgressText(const std::string &label1, int race);

// The progress display of a batch print.
class TBatchProgress
{
public:
    virtual ~TBatchProgress() = default;
    virtual void show(const std::string &textCp932) = 0;
    // Processes pending user-interface events and tells whether "印刷中止"
    // was pressed.
    virtual bool cancelled() = 0;
};

enum class BatchEnd { Completed, Cancelled, Failed };

struct TBatchResult
{
    BatchEnd end = BatchEnd::Completed;
    int printed = 0;     // jobs ended
    std::string error;   // Japanese UTF-8 when Failed
};

// The batch print: for each checked race in order (index 0..11, races of
// the day only) set pageSpan(), begin a job titled printJobTitle, draw the
// page with the batch parameters, end the job; between races ask
// progress.cancelled(). In the race-programme style only odd races are
// printed, each page holding the race after it as well. Each job's sheet
// is turned as the style prints. A ConversionError, a files::FileError or a failed job ends the
// batch with Failed and a message naming the race.
TBatchResult BatchPrint(TNewspaper &paper, const std::array<bool, 12> &checked, const TPrintEdits &edits,
                        TPrinter &printer, TBatchProgress &progress);

} // namespace zorbe
