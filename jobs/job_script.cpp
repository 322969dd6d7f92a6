#include "jobs/job_script.h"

#include "jobs/batch_text.h"
#include "ui/control_id.h"

namespace {

void AppendJobLines(const Window& window, std::string& script) {
  for (int i = 0, n = window.itemCount(cid::jobList); i < n; ++i) {
    script += window.item(cid::jobList, i);
    script += "\r\n";
  }
}

}  // namespace

std::string MakeBatScript(const Window& window, std::string_view programFolder) {
  std::string script = "@cd /d " + QuotedPath(programFolder) + "\r\n";
  script += "@envprep.exe run\r\n";
  script += "@call envprep.bat\r\n";
  script += "@del envprep.bat\r\n";
  AppendJobLines(window, script);
  return script;
}

std::string StartScript(const Window& window, std::string_view programFolder,
                        std::string_view name) {
  std::string script = "@cd /d " + QuotedPath(programFolder) + "\r\n";
  script += "@echo Please wait until this process is set into idle.\r\n";
  script += "@lullo.exe 1000\r\n";
  script += "@envprep.exe run\r\n";
  script += "@call envprep.bat\r\n";
  script += "@del envprep.bat\r\n";
  AppendJobLines(window, script);
  script += "del ";
  script += name;
  return script;
}
