#pragma once

#include "shell/LabelTables.h"
#include "shell/MasterTables.h"
#include "platform/WinPath.h"

#include <optional>

// The CSV exports as whole files: each reads its input, writes its CSV file
// (an existing one is replaced) and returns the path it wrote.
//
// A record that cannot be written stops an export: the file keeps the lines
// before it and ExportError (CsvText.h) says which file and record. An
// input that cannot be read throws files::FileError before anything is
// written; a failed write throws files::FileError too.
namespace zorbe::csvexport {

// The output beside the input: its extension (with the dot) replaced, so
// that "東京20240608.RDT" gives "東京20240608U.CSV".
WinPath horseCsvPath(const WinPath &raceCardFile);    // "U.CSV"
WinPath raceCardCsvPath(const WinPath &raceCardFile); // "R.CSV"
WinPath resultsCsv1Path(const WinPath &resultsFile);  // "S1.CSV"
WinPath resultsCsv2Path(const WinPath &resultsFile);  // "S2.CSV"
// "CSVSTIME.CSV" from "cSTIME.DAT", both in the data folder.
WinPath timeDataPath(const WinPath &dataFolder);
WinPath timeCsvPath(const WinPath &dataFolder);

// "U.CSV": the race card and its horse file (same name, ".HDT"), with the
// trainers of masters.
WinPath writeHorseCsv(const WinPath &raceCardFile, const MasterTables &masters, const LabelTables &labels);
// "R.CSV": the race card alone.
WinPath writeRaceCardCsv(const WinPath &raceCardFile, const LabelTables &labels);
// "S1.CSV" and "S2.CSV" of a results file.
WinPath writeResultsCsv1(const WinPath &resultsFile, const LabelTables &labels);
WinPath writeResultsCsv2(const WinPath &resultsFile, const LabelTables &labels);
// "CSVSTIME.CSV"; nothing happens (nullopt) when there is no "cSTIME.DAT".
std::optional<WinPath> writeTimeCsv(const WinPath &dataFolder);

} // namespace zorbe::csvexport
