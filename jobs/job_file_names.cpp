#include "jobs/job_file_names.h"

#include "core/path_parts.h"
#include "ui/control_id.h"

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
  script += "import(\"..\\avsinc\\" + std::string(preset) + ".avs\")\r\n";
  return script;
}

void DeriveJobFileNames(Window& window, FileSystem& files, std::string_view folder) {
  const std::string input = window.text(cid::input);
  if (input.empty()) return;
  const std::string program = files.programFolder();
  const std::string file(FilePart(input));
  const std::string_view ext = Extension(input);
  const std::string base(Stem(file));

  window.setText(cid::statsfile, program + "stats\\" + file + ".stat");
  window.setText(cid::logfile, program + "log\\" + file + ".txt");
  window.setText(cid::output, std::string(folder) + base + ".mp4");
  if (IsAviSynthExtension(ext)) return;

  const std::string wrapper = program + "avs\\" + file + ".avs";
  files.writeTextFile(wrapper, WrapperScript(input, window.text(cid::avsinc)), Durability::Cached);
  window.setText(cid::input, wrapper);
}
