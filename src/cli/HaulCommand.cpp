#include <cmath>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/Arguments.h"
#include "cli/BatchSession.h"
#include "cli/Cli.h"
#include "cli/Drawing.h"
#include "cli/Outputs.h"
#include "earfiles/EarFile.h"
#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/FileKinds.h"
#include "project/Format.h"
#include "project/Text.h"
#include "project/WindowState.h"
#include "reports/MassHaul.h"

namespace earthwork::cli {

namespace {

constexpr const char* kHaulUsage =
    "Usage: earthwork haul IN.ear|IN.log [--tab N | --all] [--free-haul DIST]\n"
    "                             [--svg FILE] [--pdf FILE] [--png FILE] [--csv FILE]\n";

struct HaulOptions : InputAndTabs {
  std::optional<double> freeHaul;
  std::string svg, pdf, png, csv;
};

/// The options, or nullopt with `error` set.
std::optional<HaulOptions> ParseHaulArgs(const std::vector<std::string>& args, std::string& error) {
  HaulOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--tab" || a == "--free-haul" || a == "--svg" || a == "--pdf" || a == "--png" ||
        a == "--csv") {
      if (i + 1 >= args.size()) {
        error = "The option " + a + " needs a value.";
        return std::nullopt;
      }
      const std::string& value = args[++i];
      if (a == "--tab") {
        const auto tab = ParseTabOption(value, error);
        if (!tab) return std::nullopt;
        o.tab = *tab;
        o.tabGiven = true;
      } else if (a == "--free-haul") {
        const auto number = ParseNumber(value);
        if (!number || !(*number > 0) || !std::isfinite(*number)) {
          error = "The free-haul distance must be a positive number, not \"" + value + "\".";
          return std::nullopt;
        }
        o.freeHaul = *number;
      } else {
        (a == "--svg" ? o.svg : a == "--pdf" ? o.pdf : a == "--png" ? o.png : o.csv) = value;
      }
    } else if (a == "--all") {
      o.all = true;
    } else if (!TakeInputWord(a, o.input, error)) {
      return std::nullopt;
    }
  }
  const bool files = !o.svg.empty() || !o.pdf.empty() || !o.png.empty() || !o.csv.empty();
  o.Check(error);
  if (o.all && files) error = "--svg, --pdf, --png and --csv take one tab: use --tab N.";
  if (!error.empty()) return std::nullopt;
  return o;
}

/// Why the outputs may not be written, or "" when they may.
std::string OutputsRefusal(const HaulOptions& o) {
  const std::pair<const std::string*, const char*> outputs[] = {
      {&o.svg, "--svg"}, {&o.pdf, "--pdf"}, {&o.png, "--png"}, {&o.csv, "--csv"}};
  for (size_t i = 0; i < std::size(outputs); ++i) {
    const std::string& path = *outputs[i].first;
    if (path.empty()) continue;
    for (size_t j = i + 1; j < std::size(outputs); ++j) {
      const std::string& other = *outputs[j].first;
      if (!other.empty() && (other == path || SameFile(other, path))) {
        return std::string(outputs[i].second) + " and " + outputs[j].second +
               " name the same file " + path;
      }
    }
    if (std::string why = OutputRefusal(path, outputs[i].second, o.input, false); !why.empty()) {
      return why;
    }
  }
  return "";
}

}  // namespace

int RunHaul(const std::vector<std::string>& args) {
  std::string error;
  const auto options = ParseHaulArgs(args, error);
  if (!options) {
    std::cerr << error << "\n" << kHaulUsage;
    return 1;
  }
  if (const std::string why = OutputsRefusal(*options); !why.empty()) {
    std::cerr << why << "; nothing was written.\n";
    return 1;
  }
  const Drawing& drawing = InstalledDrawing();
  if (!(options->svg.empty() && options->pdf.empty() && options->png.empty()) &&
      drawing.haulPictures == nullptr) {
    std::cerr << "--pdf, --svg and --png need " << kQtProgramName << "; nothing was written.\n";
    return 1;
  }
  BatchSession session;
  ProgramState& state = session.state;
  const bool log = InputKindOf(options->input) == InputKind::Log;
  if (log ? !options->TabExists(1) || !ReadLogIntoFirstTab(state, options->input)
          : !OpenEarFile(state, options->input) || !options->TabExists(state.Project.GroupCount)) {
    return 1;
  }
  const ProjectStore& store = state.Project;
  const double freeHaul = options->freeHaul.value_or(DefaultFreeHaul(store.UnitSystem));
  const int first = options->all ? 1 : options->tab;
  const int last = options->all ? (log ? 1 : store.GroupCount) : options->tab;
  bool failed = false;
  std::optional<MassHaul> shown;
  std::string name;
  for (int tab = first; tab <= last; ++tab) {
    state.Project.CurrentGroup = static_cast<int16_t>(tab - 1);
    name = Trim(log ? TabCaption(state, tab - 1) : store.Group(tab - 1).Name);
    const std::string title =
        "tab " + std::to_string(tab) + (name.empty() ? "" : " (" + name + ")");
    try {
      MassHaul haul = log ? ComputeLogMassHaul(state, freeHaul)
                          : ComputeMassHaul(store.Current(), store.UnitSystem, freeHaul);
      std::cout << (tab > first ? "\n" : "") << HaulText(haul, title);
      shown = std::move(haul);
    } catch (const std::exception& e) {
      std::cerr << "No mass haul for " << title << ": " << e.what() << ".\n";
      failed = true;
      shown.reset();
    }
  }
  if (failed) {
    if (!options->all) std::cerr << "Nothing was written.\n";
    return 1;
  }
  if (!options->csv.empty() && !WriteOutput(options->csv, HaulCsv(*shown))) return 1;
  if (options->svg.empty() && options->pdf.empty() && options->png.empty()) return 0;
  return drawing.haulPictures(*shown, store, name, options->pdf, options->svg, options->png) ? 0
                                                                                             : 1;
}

}  // namespace earthwork::cli
