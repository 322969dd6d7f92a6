#include "jobs/job_file_names.h"

#include "core/path_parts.h"
#include "core/program_folders.h"

namespace {

bool IsAviSynthExtension(std::string_view ext) {
  return ext.size() == 3 && (ext[0] | 0x20) == 'a' && (ext[1] | 0x20) == 'v' &&
         (ext[2] | 0x20) == 's';
}

}  // namespace

std::string WrapperScript(std::string_view input, std::string_view preset) {
  std::string script;
  script += "fs=\"" + std::string(input) + "\"\r\n";
  script += "mfn=\"" + std::string(Stem(input)) + "\"\r\n";
  // The wrapper lies in the wrappers' folder, beside the imported one.
  script += "import(\"..\\" + std::string(program_folders::kAvsinc) + "\\" + std::string(preset) +
            ".avs\")\r\n";
  return script;
}

JobFileNames DeriveJobFileNames(std::string_view input, std::string_view preset,
                                std::string_view programFolder, std::string_view folder) {
  const std::string program(programFolder);
  const std::string file(FilePart(input));
  JobFileNames names;
  names.statsfile = program + std::string(program_folders::kStats) + "\\" + file + ".stat";
  names.logfile = program + std::string(program_folders::kLogs) + "\\" + file + ".txt";
  names.output = std::string(folder) + std::string(Stem(file)) + ".mp4";
  if (IsAviSynthExtension(Extension(input))) {
    names.input = std::string(input);
  } else {
    names.input = program + std::string(program_folders::kWrappers) + "\\" + file + ".avs";
    names.wrapper = WrapperScript(input, preset);
  }
  return names;
}

std::optional<Refusal> CheckJobFileNames(const JobFileNames& names, const BestFitLookup& bestFit) {
  const BatchCommand named{
      "",
      {arg::Path(names.input, cid::input), arg::Path(names.output, cid::output),
       arg::Path(names.statsfile, cid::statsfile), arg::Path(names.logfile, cid::logfile)}};
  if (std::optional<Refusal> refusal = CheckCommand(named)) return refusal;
  return CheckBestFit({&named, 1}, bestFit);
}
