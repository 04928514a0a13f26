#pragma once

#include "model/RaceCard.h"
#include "paper/Newspaper.h"
#include "paper/RecordingCanvas.h"
#include "shell/LabelTables.h"
#include "shell/MasterTables.h"

#include <memory>
#include <string>

namespace zorbe::test {

// A meeting day built by hand for the page tests: races of n runners whose
// fields hold what the converted race-day files hold (digits or blanks),
// each horse with a full set of five past races.
class PaperDay
{
public:
    PaperDay();

    // Appends race number card.RaceCount + 1 with n runners.
    void addRace(int runners);
    // The race selection window's activation: captions, wide numbers,
    // runner counts.
    void select();

    // Draws race r (0-based) as the screen draws it, at zoom, on a
    // recording canvas at 96 pixels per inch.
    const RecordingCanvas &drawScreen(int race, int zoom = 110);
    // Draws race r as the display window's print button prints it at 600 dpi.
    const RecordingCanvas &drawPrinted(int race);

    // Device position of a page millimetre on the last drawn page.
    int x(int mm) const;
    int y(int mm) const;

    // Horse index of runner k (0-based) of race r.
    int horse(int race, int k) const;

    std::unique_ptr<TRaceCard> card;
    MasterTables masters;
    LabelTables labels;
    TNewspaper paper;
    RecordingCanvas canvas{96};

private:
    void fillHorse(int h, int race, int k);
    int m_dpi = 96;
    int m_originX = 0;
    int m_originY = 0;
};

// Every text the canvas holds, as UTF-8, one per line (for failure output).
std::string textsOf(const RecordingCanvas &canvas);
// The first text call whose UTF-8 text equals utf8, or nullptr.
const RecordedCall *findUtf8(const RecordingCanvas &canvas, const std::string &utf8);
int countUtf8(const RecordingCanvas &canvas, const std::string &utf8);

// The text call (horizontal or vertical) with this UTF-8 text at the device
// position of page millimetre (xMm, yMm) on the day's last page, or nullptr.
const RecordedCall *textAt(const PaperDay &day, const std::string &utf8, int xMm, int yMm);
// Whether the last page has a line from (x1, y1) to (x2, y2) mm with this pen.
bool lineAt(const PaperDay &day, int x1, int y1, int x2, int y2, int pen);

} // namespace zorbe::test
