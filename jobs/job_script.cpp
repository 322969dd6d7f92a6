#include "jobs/job_script.h"

#include "jobs/batch_line.h"

namespace {

void AppendJobLines(std::span<const std::string> jobLines, std::string& script) {
  for (const std::string& line : jobLines) {
    script += line;
    script += "\r\n";
  }
}

}  // namespace

std::string MakeBatScript(std::span<const std::string> jobLines, std::string_view programFolder) {
  std::string script = "@cd /d " + QuotedPath(programFolder) + "\r\n";
  script += "@envprep.exe run\r\n";
  script += "@call envprep.bat\r\n";
  script += "@del envprep.bat\r\n";
  AppendJobLines(jobLines, script);
  return script;
}

std::string StartScript(std::span<const std::string> jobLines, std::string_view programFolder,
                        std::string_view name) {
  std::string script = "@cd /d " + QuotedPath(programFolder) + "\r\n";
  script += "@echo Please wait until this process is set into idle.\r\n";
  script += "@lullo.exe 1000\r\n";
  script += "@envprep.exe run\r\n";
  script += "@call envprep.bat\r\n";
  script += "@del envprep.bat\r\n";
  AppendJobLines(jobLines, script);
  script += "del ";
  script += name;
  return script;
}
