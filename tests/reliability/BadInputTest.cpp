// The catalogue of bad inputs: every file under tests/data/bad (and a few
// made at run time because of their size or kind) with the operation that
// meets it, the exact messages the user sees and the state it leaves. No
// input crashes the program, loses the user's data or fails silently.

#ifndef _WIN32
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "RecordingPageSurface.h"
#include "commands/FileCommands.h"
#include "earfiles/EarFile.h"
#include "geopak/LogRecognition.h"
#include "printing/PagePrint.h"
#include "printing/Paging.h"
#include "project/ProgramState.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork::testing {
namespace {

namespace fs = std::filesystem;

enum class Op {
  Open,    // File > Open on a new project
  Import,  // Import EAR File into a project with one group
  Report,  // File > Open, then the Total report
  Save,    // File > Save As of a changed two-row project to the input path
  Pages,   // the Total report of a good file, whose report file then vanishes
};

struct World {
  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState state{dialogs, view};
  std::string path;    // the input
  std::string folder;  // the temporary folder holding it
  std::string reason;  // why a read-only target refuses writing
  std::function<void()> cleanup = [] {};
};

using Check = std::function<void(const World&)>;

struct Case {
  std::string name;  // a file under tests/data/bad unless `make` makes the input
  Op op;
  /// Exact texts; "{path}", "{folder}", "{run}" (the run's report folder) and
  /// "{reason}" stand for those of the World.
  std::vector<std::string> messages;
  Check check;
  /// Makes the input at w.path; false when this machine cannot (the case is skipped).
  std::function<bool(World& w)> make = {};
};

std::string Rows(const std::string& line, int count) {
  std::string rows;
  for (int i = 0; i < count; ++i) rows += line + "\r\n";
  return rows;
}

const std::string kHead =
    "[VERSION 2002]\r\n[ENGLISH]\r\nJ. Smith\r\nP-100\r\nC-200\r\n"
    "[END AREA 1 Main]\r\n#BALANCE FACTOR\r\n1.00\r\n#MEASURED IN EMBANKMENT\r\n 0 \r\n";
const char* const kNotCompatible = "FILE IS NOT COMPATIBLE WITH PRESENT VERSION OF THE PROGRAM.";
const char* const kLast = "[LAST RECORD]\r\n";
const char* const kNotALog = " The file selected is not a Geopak Earthwork log file";

const GroupRecord& Group(const World& w, int g) {
  return w.state.Project.Group(g);
}
int DataRows(const World& w, int g) {
  return Group(w, g).Cells.DataRowCount();
}
const std::string& Cell(const World& w, int row, int column) {
  return Group(w, 0).Cells.at(row, column);
}

/// The new project that a refused Open leaves: one empty group, unchanged.
void EmptyProject(const World& w) {
  EXPECT_EQ(w.state.Project.GroupCount, 1);
  EXPECT_EQ(DataRows(w, 0), 0);
  EXPECT_FALSE(w.state.Project.DataChanged);
}

/// A file read whole: `groups` groups, the first "Main" with `rows` rows,
/// the header fields, and the file as the project's file.
Check ReadAs(int rows, Check more = {}) {
  return [rows, more](const World& w) {
    EXPECT_EQ(w.state.Project.GroupCount, 1);
    EXPECT_EQ(w.state.Project.CurrentFileName, w.path);
    EXPECT_EQ(Group(w, 0).Name, "Main");
    EXPECT_EQ(DataRows(w, 0), rows);
    EXPECT_EQ(w.state.Project.HeaderFields[2], "C-200");
    if (more) more(w);
  };
}

/// A log read into group 0 with `stations` section stations and its report on disk.
Check LogRead(int stations, int points) {
  return [stations, points](const World& w) {
    EXPECT_TRUE(w.state.Project.LogFileMode);
    EXPECT_EQ(w.state.Counters.SectionStationCount, stations);
    EXPECT_EQ(w.state.Counters.PointCount, points);
    EXPECT_TRUE(fs::exists(w.state.Report.ReportFileName));
    EXPECT_GE(w.state.Report.PageCount, 1);
    EXPECT_EQ(w.view.calls.back(), "ShowReportPreview");
  };
}

/// A log refused: nothing read, the project not in log mode.
void NoLog(const World& w) {
  EXPECT_FALSE(w.state.Project.LogFileMode);
  EXPECT_EQ(w.state.Counters.SectionStationCount, 0);
}

/// What a failed save leaves: the project's rows, still changed.
void SaveRefused(const World& w) {
  EXPECT_TRUE(w.state.Project.DataChanged);
  EXPECT_EQ(DataRows(w, 0), 2);
}

// Read-only folders and named pipes are made the POSIX way; Windows skips
// these inputs.
#ifdef _WIN32
bool ReadOnlyFolder(World&) {
  return false;
}
#else
/// A folder that refuses writing: read-only permissions for an ordinary
/// user, a read-only file system for root (whom permissions do not stop).
bool ReadOnlyFolder(World& w) {
  const fs::path folder = fs::path(w.path).parent_path();
  fs::create_directories(folder);
  if (::geteuid() != 0) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    w.reason = std::strerror(EACCES);
    return true;
  }
  if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_RDONLY, "size=16k") != 0) return false;
  w.cleanup = [folder] { ::umount2(folder.c_str(), MNT_DETACH); };
  w.reason = std::strerror(EROFS);
  return true;
}
#endif

std::string LogOfStations(int stations) {
  std::string log =
      " 1     3     3 Earthwork\r\n   Earthworks for Baseline = LONG\r\n     ----------\r\n";
  for (int s = 0; s < stations; ++s) {
    log += "   " + std::to_string(s) + "+00.000   Cross Section\r\n";
    log += "        Excavation       10.00      37.04       0.00       0.00      37.04\r\n";
    log += "        Fill              5.00      18.52      21.30       1.15      15.74\r\n";
  }
  // The table ends at hyphens after a line with a "+".
  return log + "   Totals through the last +\r\n     ----------\r\n";
}

std::string LogOfPoints(int points) {
  std::string log = LogOfStations(2) + "   B A L A N C E   P O I N T   T A B L E\r\n   heading\r\n";
  for (int p = 0; p < points; ++p) {
    log += "   Balance Point at Station = " + std::to_string(p) + "+50.000, Offset = 0.000\r\n";
    log += "   Excavation      470.00       470.00        0.00\r\n";
    log += "   Fill             75.00        86.25       86.25\r\n";
  }
  return log + "   Balance point computation COMPLETE\r\n";
}

/// The project file a station table must never replace.
const std::string kProject = kHead + "10+00.000 - 1.00 0.00 2.00 0.00\r\n" + kLast;

/// Copies the sample log ramp1.log to w.path.
bool SampleLog(World& w) {
  fs::create_directories(fs::path(w.path).parent_path());
  fs::copy_file(DataPath("geopak/ramp1.log"), w.path);
  return true;
}

/// The sample log, with a project of the same name beside it.
bool LogBesideProject(World& w) {
  SampleLog(w);
  WriteBytes(fs::path(w.path).replace_extension(".ear").string(), kProject);
  return true;
}

#ifdef _WIN32
bool LogInReadOnlyFolder(World&) {
  return false;
}
bool Fifo(World&) {
  return false;
}
#else
/// The sample log in a folder that refuses writing.
bool LogInReadOnlyFolder(World& w) {
  const fs::path folder = fs::path(w.path).parent_path();
  fs::create_directories(folder);
  if (::geteuid() != 0) {
    SampleLog(w);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    w.reason = std::strerror(EACCES);
    w.cleanup = [folder] { fs::permissions(folder, fs::perms::owner_all); };
    return true;
  }
  if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=1m") != 0) return false;
  w.cleanup = [folder] { ::umount2(folder.c_str(), MNT_DETACH); };
  SampleLog(w);
  if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m") != 0) {
    return false;
  }
  w.reason = std::strerror(EROFS);
  return true;
}

bool Fifo(World& w) {
  return ::mkfifo(w.path.c_str(), 0600) == 0;
}
#endif

/// Makes the input a link to `target`.
std::function<bool(World&)> LinkTo(std::string target) {
  return [target = std::move(target)](World& w) {
    fs::create_symlink(target, w.path);
    return true;
  };
}

/// The input is a link to "target.ear" beside it, which holds a project.
bool LinkToProject(World& w) {
  WriteBytes(w.folder + "/target.ear", kProject);
  fs::create_symlink("target.ear", w.path);
  return true;
}

/// The input is a project with a second name.
bool HardLinked(World& w) {
  WriteBytes(w.path, kProject);
  fs::create_hard_link(w.path, w.folder + "/other-name.ear");
  return true;
}

/// The input is `head` followed by zero bytes up to `size` bytes in all,
/// made sparse so that it costs no disk.
std::function<bool(World&)> Sized(std::string head, uintmax_t size) {
  return [head = std::move(head), size](World& w) {
    WriteBytes(w.path, head);
    fs::resize_file(w.path, size);
    return true;
  };
}

/// Makes the input by writing these bytes.
std::function<bool(World&)> Writes(std::string bytes) {
  return [bytes = std::move(bytes)](World& w) {
    WriteBytes(w.path, bytes);
    return true;
  };
}

bool NoFile(World&) {
  return true;
}

bool Folder(World& w) {
  return fs::create_directory(w.path);
}

const std::vector<Case>& Catalogue() {
  static const std::vector<Case> catalogue = [] {
    const std::string row = "10+00.000 - 1.00 0.00 2.00 0.00\r\n";
    const std::string rows1801 = kHead + Rows("10+00.000 - 1.00 0.00 2.00 0.00", 1801) + kLast;
    const std::string rows1800 = kHead + Rows("10+00.000 - 1.00 0.00 2.00 0.00", 1800) + kLast;
    const std::string longLine = kHead + "10+00.000 - " + std::string(size_t{10} << 20, '7') +
                                 " 0.00 0.00 0.00 0.00\r\n" + kLast;
    const std::string hashRow = kHead + row + "11+00.000 - 1.#INF 0.00 2.00 0.00\r\n" +
                                "12+00.000 - 1.00 0.00 2.00 0.00\r\n" + kLast;
    const std::string blankLines = kHead + row + std::string(size_t{8} << 20, '\n') + row + kLast;
    const std::string longName = "[VERSION 2002]\r\n[ENGLISH]\r\n\r\n\r\n\r\n[END AREA 1 " +
                                 std::string(size_t{1} << 20, 'N') + "]\r\n" + row + kLast;
    const std::string readError = "(ReadFileVersion2002(NewFileIO))";
    const std::string notRegular =
        " Program Error: Not a regular file: {path}"
        "(CheckFileCompatibility(NewFileIO))";
    const std::string notRegularLog =
        " Error: Not a regular file: {path} occured in "
        "CheckWhetherItIsLogFile";
    const std::string saveError = "Program Error: Cannot save {path}: ";
    const std::string saved = " occured in Write2002VersionFile";
    const std::string overwrite = " OVERWRITE EXISTING FILE {path} ?";
    const std::string tableNotWritten = "The station table was not written: ";
    // clang-format off
    return std::vector<Case>{
        // Files that are no EarFile at all: refused, the new project stays empty.
        {"empty.ear", Op::Open, {kNotCompatible}, EmptyProject},
        {"binary.ear", Op::Open, {kNotCompatible}, EmptyProject},
        {"utf16.ear", Op::Open, {kNotCompatible}, EmptyProject},
        {"version-2003.ear", Op::Open, {kNotCompatible}, EmptyProject},
        {"text-first-line.ear", Op::Open, {kNotCompatible}, EmptyProject},
        {"utf8-bom.ear", Op::Open, {kNotCompatible}, EmptyProject},
        {"missing.ear", Op::Open, {"NO FILE EXIST BY THE NAME : {path}"}, EmptyProject, NoFile},
        {"folder.ear", Op::Open, {" Program Error: Is a folder, not a file: {path}"
         "(CheckFileCompatibility(NewFileIO))"}, EmptyProject, Folder},
        // Damaged EarFiles: what can be read is read, nothing is lost.
        {"nul-bytes.ear", Op::Open, {}, ReadAs(2, [](const World& w) {
           EXPECT_EQ(w.state.Project.HeaderFields[0], std::string("J.\0Smith", 8));
           EXPECT_EQ(Cell(w, 1, Cut), std::string("2\0" "0.00", 6) + std::string(9, ' '));
         })},
        {"cr-only.ear", Op::Open, {}, ReadAs(2)},
        {"mixed-line-ends.ear", Op::Open, {}, ReadAs(2)},
        {"tag-without-bracket.ear", Op::Open, {"Program Error: Line 6 of {path} has \"[\" without "
         "\"]\": \"[END AREA 1 Main\"" + readError}, EmptyProject},
        {"fewer-fields.ear", Op::Open, {"Program Error: Row line has fewer than 6 fields: "
         "\"11+00.000 BK 20.00\" occured in GetParameters(NewFileIO)."}, ReadAs(2, [](const World& w) {
           EXPECT_EQ(Cell(w, 1, Code), "BK" + std::string(13, ' '));
           EXPECT_EQ(Cell(w, 1, Cut), "20.00");
           EXPECT_EQ(Cell(w, 1, Fill), std::string(15, ' '));
         })},
        {"flag-overflow.ear", Op::Open, {"Program Error: Overflow in line 10 of {path}: the "
         "embankment flag 99999 does not fit its field" + readError}, EmptyProject},
        {"no-last-record.ear", Op::Open, {}, ReadAs(2)},
        {"empty-group.ear", Op::Open, {}, [](const World& w) {
           ASSERT_EQ(w.state.Project.GroupCount, 2);
           EXPECT_EQ(Group(w, 0).Name, "Empty");
           EXPECT_EQ(DataRows(w, 0), 0);
           EXPECT_EQ(Group(w, 1).Name, "Second");
           EXPECT_EQ(DataRows(w, 1), 2);
         }},
        {"header-only.ear", Op::Open, {}, [](const World& w) {
           EXPECT_EQ(w.state.Project.GroupCount, 1);
           EXPECT_EQ(DataRows(w, 0), 0);
           EXPECT_EQ(w.state.Project.CurrentFileName, w.path);
         }},
        {"v971-short-row.ear", Op::Open, {"Program Error: Row line has fewer than 5 fields: "
         "\"11+00.000 20.00\" occured in GetParameters(NewFileIO)."}, [](const World& w) {
           EXPECT_EQ(DataRows(w, 0), 2);
           EXPECT_EQ(Cell(w, 1, Code), "-" + std::string(14, ' '));
           EXPECT_TRUE(w.state.Project.DataChanged);  // an older file is offered for saving
         }},
        {"hash-row.ear", Op::Open, {"Not every line of {path} was read:\nline 12 \"11+00.000 - "
         "1.#INF 0.00 2.00 0.00\": it holds \"#\" but does not begin with it."}, ReadAs(2, [](const World& w) {
           EXPECT_EQ(Cell(w, 1, Station), "12+00.000" + std::string(6, ' '));
         }), Writes(hashRow)},
        // Files of a size or a line length out of all proportion: refused with
        // the size, or read in memory of the size of what they hold.
        {"long-line.ear", Op::Open, {"Program Error: Line 11 of {path} is 10485792 characters long; "
         "a line holds at most 65536" + readError}, EmptyProject, Writes(longLine)},
        {"long-name.ear", Op::Open, {"Program Error: Line 6 of {path} is 1048589 characters long; "
         "a line holds at most 65536" + readError}, EmptyProject, Writes(longName)},
        {"blank-lines.ear", Op::Open, {}, ReadAs(2), Writes(blankLines)},
        {"too-large.ear", Op::Open, {"Program Error: The file {path} is too large to read: 64.1 MB, "
         "at most 64.0 MB" + readError}, EmptyProject, Sized(kHead, (uintmax_t{64} << 20) + 100000)},
        // Files that are no regular file: refused at once, nothing waits on them.
        {"fifo.ear", Op::Open, {notRegular}, EmptyProject, Fifo},
        {"device.ear", Op::Open, {notRegular}, EmptyProject, LinkTo("/dev/null")},
        {"link.ear", Op::Open, {}, ReadAs(1), LinkToProject},
        // Files larger than the store: refused whole, with the limit named.
        {"27-groups.ear", Op::Open, {"The file {path} holds 27 groups; a project holds at most 26 "
         "groups. Nothing was read."}, EmptyProject},
        {"27-groups.ear", Op::Import, {"The file {path} holds 27 groups and the project already has "
         "1; a project holds at most 26 groups. Nothing was imported."}, [](const World& w) {
           EXPECT_EQ(w.state.Project.GroupCount, 1);
           EXPECT_EQ(Group(w, 0).Name, "Main");
           EXPECT_EQ(DataRows(w, 0), 1);
         }},
        {"1801-rows.ear", Op::Open, {"Group 1 (Main) of the file {path} holds 1801 rows; a group "
         "holds at most 1800 rows. Nothing was read."}, EmptyProject, Writes(rows1801)},
        {"1800-rows.ear", Op::Open, {}, ReadAs(1800), Writes(rows1800)},
        // Reports of data that cannot be computed: stopped with the reason.
        {"volume-past-32-bit.ear", Op::Report, {"Program Error: Overflow occured in "
         "CreateTempRptFile"}, ReadAs(2, [](const World& w) {
           EXPECT_TRUE(fs::exists(w.state.Report.ReportFileName));
         })},
        // Data the report takes as it stands, in plain sight: a falling station
        // gives negative volumes, an area that is no number prints as typed and
        // counts as 0.
        {"stations-falling.ear", Op::Report, {}, ReadAs(2, [](const World& w) {
           EXPECT_NE(ReadBytes(w.state.Report.ReportFileName).find("09+50.000      12.00       0.00     -20.00"),
                     std::string::npos);
         })},
        {"area-not-a-number.ear", Op::Report, {}, ReadAs(2, [](const World& w) {
           EXPECT_EQ(Cell(w, 0, Cut), "abc" + std::string(12, ' '));
           EXPECT_NE(ReadBytes(w.state.Report.ReportFileName).find("10+00.000  abc   "),
                     std::string::npos);
         })},
        {"factor-abc.ear", Op::Report, {"Program Error: Balance factor \"abc\" is not a number "
         "occured in CreateTempRptFile"}, ReadAs(2, [](const World& w) {
           EXPECT_EQ(Group(w, 0).BalanceFactor, "abc");
         })},
        // Files that are no GEOPAK earthwork log.
        {"log-empty.log", Op::Open, {kNotALog}, NoLog},
        {"log-binary.log", Op::Open, {kNotALog}, NoLog},
        {"log-utf16.log", Op::Open, {kNotALog}, NoLog},
        {"log-signature-trailing-blank.log", Op::Open, {kNotALog}, NoLog},
        {"log-signature-only.log", Op::Open, {kNotALog}, NoLog},
        {"fifo.log", Op::Open, {notRegularLog}, NoLog, Fifo},
        {"zero.log", Op::Open, {notRegularLog}, NoLog, LinkTo("/dev/zero")},
        {"too-large.log", Op::Open, {" Error: The file {path} is too large to read: 256.1 MB, "
         "at most 256.0 MB occured in CheckWhetherItIsLogFile"}, NoLog,
         Sized(std::string(kLogSignature) + "\r\n", (uintmax_t{256} << 20) + 100000)},
        // The station table beside a log never replaces the user's file, and a
        // folder that refuses it costs only the table.
        {"road.log", Op::Open, {tableNotWritten + "{folder}/road.ear holds earthwork data"},
         [](const World& w) {
           LogRead(33, 5)(w);
           EXPECT_EQ(ReadBytes(w.folder + "/road.ear"), kProject);
         }, LogBesideProject},
        {"read-only/ramp1.log", Op::Open, {tableNotWritten + "Cannot save {folder}/read-only/ramp1.ear: "
         "{reason}"}, [](const World& w) {
           LogRead(33, 5)(w);
           EXPECT_FALSE(fs::exists(w.folder + "/read-only/ramp1.ear"));
         }, LogInReadOnlyFolder},
        // Logs cut short in each table: what stands before the cut is read.
        {"log-cut-in-adjustment.log", Op::Open, {}, LogRead(0, 0)},
        {"log-cut-in-sections.log", Op::Open, {}, LogRead(2, 0)},
        {"log-cut-in-points.log", Op::Open, {}, LogRead(30, 2)},
        {"log-cut-in-summary.log", Op::Open, {}, LogRead(33, 5)},
        {"log-station-without-blank.log", Op::Open, {" Program Error: Invalid procedure call or "
         "argument occured in Parse_Station_String"}, LogRead(33, 5)},
        // Logs longer than the tables: read up to the table, said once.
        {"log-20000-stations.log", Op::Open, {"The log {path} has 20001 station lines in its "
         "cross-section tables; a group holds at most 10000 stations. The lines from "
         "\"10000+00.000   Cross Section\" on were not read."}, LogRead(10000, 0),
         Writes(LogOfStations(20000))},
        {"log-1500-points.log", Op::Open, {"The log {path} has 1500 balance point lines; a group "
         "holds at most 1000 balance points. The lines from \"Balance Point at Station = "
         "1000+50.000, Offset = 0.000\" on were not read.",
         "Program Error: Subscript out of range occured in WriteIncrementalValue"},
         LogRead(3, 1000), Writes(LogOfPoints(1500))},
        // Targets a save cannot write: the project keeps its changes.
        {"folder-target.ear", Op::Save, {" OVERWRITE EXISTING FILE {path} ?", saveError +
         "Is a directory" + saved, "NO FILE IS SELECTED"}, SaveRefused, Folder},
        {"missing-folder/road.ear", Op::Save, {saveError + "No such file or directory" + saved,
         "NO FILE IS SELECTED"}, SaveRefused, NoFile},
        {"read-only/road.ear", Op::Save, {saveError + "{reason}" + saved, "NO FILE IS SELECTED"},
         SaveRefused, ReadOnlyFolder},
        {"fifo-target.ear", Op::Save, {overwrite, saveError + "Not a regular file" + saved,
         "NO FILE IS SELECTED"}, [](const World& w) {
           SaveRefused(w);
           EXPECT_TRUE(fs::is_fifo(w.path));
         }, Fifo},
        {"hard-linked.ear", Op::Save, {overwrite, saveError + "the file has 2 names (hard links) and "
         "saving would leave the others with the old content; save it under another name" + saved,
         "NO FILE IS SELECTED"}, [](const World& w) {
           SaveRefused(w);
           EXPECT_EQ(ReadBytes(w.path), kProject);
         }, HardLinked},
        // A link is saved through: the file it names gets the project.
        {"link-target.ear", Op::Save, {overwrite, "FILE : {path} IS SAVED SUCCESSFULLY"},
         [](const World& w) {
           EXPECT_TRUE(fs::is_symlink(w.path));
           EXPECT_NE(ReadBytes(w.folder + "/target.ear").find("11+00.000"), std::string::npos);
         }, LinkToProject},
        // A report file gone before its pages are shown or counted.
        {"vanished.ear", Op::Pages, {" System Error : File not found: {run}vanished.rpt "
         "(form1(PrintOneByOne)).", " Program Error: File not found: {run}vanished.rpt "
         "occured in CountNumberOfPages"}, [](const World& w) {
           EXPECT_EQ(w.state.Report.PageCount, 1);
         }, [](World& w) {
           fs::copy_file(DataPath("ear/worked_example.ear"), w.path);
           return true;
         }},
    };
    // clang-format on
  }();
  return catalogue;
}

std::string Expand(const std::string& text, World& w) {
  std::string out = ReplaceAll(text, "{path}", w.path);
  if (out.find("{run}") != std::string::npos)
    out = ReplaceAll(out, "{run}", w.state.Report.Folder.Path());
  return ReplaceAll(ReplaceAll(out, "{folder}", w.folder), "{reason}", w.reason);
}

void RunOperation(const Case& c, World& w) {
  ScriptedDialogs& d = w.dialogs;
  ProjectStore& store = w.state.Project;
  switch (c.op) {
    case Op::Open:
      d.files = {w.path};
      Openfile(w.state);
      break;
    case Op::Import:
      store.Group(0).Name = "Main";
      store.Group(0).Cells.at(0, Station) = "10+00.000";
      store.Group(0).Cells.at(1, Station) = kEndOfRows;
      d.files = {w.path};
      ImportEarIntoGroups(w.state);
      break;
    case Op::Report:
      d.files = {w.path};
      Openfile(w.state);
      PrintPreviewReport(w.state, ReportKind::Total);
      break;
    case Op::Save:
      store.CurrentFileName = "UNTITLED";
      store.Group(0).Cells.at(0, Station) = "10+00.000";
      store.Group(0).Cells.at(1, Station) = "11+00.000";
      store.Group(0).Cells.at(2, Station) = kEndOfRows;
      store.DataChanged = true;
      d.files = {w.path, std::nullopt};  // the target, then cancel the other-name dialog
      d.answers = {Answer::Yes};         // replace it, if it exists
      SaveAsFile(w.state);
      break;
    case Op::Pages: {
      d.files = {w.path};
      Openfile(w.state);
      PrintPreviewReport(w.state, ReportKind::Total);
      fs::remove(w.state.Report.ReportFileName);
      std::vector<std::string> drawn;
      RecordingPageSurface surface(drawn);
      FixedClock clock;
      w.state.Report.CurrentPage = 1;
      (void)PrintOneByOne(w.state, surface, clock);
      CountNumberOfPages(w.state);
      break;
    }
  }
}

TEST(BadInputs, EachGivesItsMessagesAndKeepsTheProjectSound) {
  TempDir reports;
  ScopedReportDirectory reportDir(reports.Root().string());
  ASSERT_GE(Catalogue().size(), 30u);
  for (const Case& c : Catalogue()) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    World w;
    w.folder = dir.Root().string();
    w.path = dir.Path(c.name);
    if (!c.make) {
      fs::copy_file(DataPath("bad/" + c.name), w.path);
    } else if (!c.make(w)) {
      std::printf("%s: skipped, this machine cannot make it\n", c.name.c_str());
      continue;
    }
    RunOperation(c, w);
    std::vector<std::string> expected;
    for (const std::string& m : c.messages) expected.push_back(Expand(m, w));
    EXPECT_EQ(w.dialogs.Texts(), expected);
    // Every group in use keeps its end marker inside the store.
    const ProjectStore& store = w.state.Project;
    ASSERT_GE(store.GroupCount, 1);
    ASSERT_LE(store.GroupCount, 26);
    for (int g = 0; g < store.GroupCount; ++g) EXPECT_NO_THROW(store.Group(g).Cells.DataRowCount());
    if (c.check) c.check(w);
    w.cleanup();
  }
}

}  // namespace
}  // namespace earthwork::testing
