#include "jobs/job_script.h"

#include <map>

#include "jobs/batch_line.h"

namespace {

void AppendJobLines(std::span<const std::string> jobLines, std::string& script) {
  for (const std::string& line : jobLines) {
    script += line;
    script += "\r\n";
  }
}

// The length of the UTF-8 character that starts with `lead` (1 for a byte
// that starts none).
size_t CharacterLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// The text with every run of characters the code page lacks replaced by a
// variable of `variables`, one per distinct run.
std::string Spelled(std::string_view text, const std::function<bool(std::string_view)>& spelled,
                    std::map<std::string, std::string>& variables,
                    std::vector<std::pair<std::string, std::string>>& order) {
  std::string out;
  std::string run;
  auto flush = [&] {
    if (run.empty()) return;
    auto [found, added] = variables.try_emplace(run, "");
    if (added) {
      found->second = "QUORVEL_" + std::to_string(variables.size());
      order.emplace_back(found->second, run);
    }
    out += '%' + found->second + '%';
    run.clear();
  };
  for (size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = std::min(CharacterLength(lead), text.size() - at);
    const std::string_view character = text.substr(at, length);
    if (lead < 0x80 || spelled(character)) {
      flush();
      out += character;
    } else {
      run += character;
    }
    at += length;
  }
  flush();
  return out;
}

}  // namespace

std::string MakeBatScript(std::span<const std::string> jobLines, std::string_view programFolder,
                          bool unicode) {
  std::string script;
  if (unicode) {
    // "Active code page: 850" or "Aktive Codepage: 850.": the last word,
    // without a closing dot, is the code page to return to.
    script +=
        "@for /f \"tokens=*\" %%a in ('chcp') do @for %%b in (%%a) do @set "
        "\"quorvel_codepage=%%~nb\"\r\n";
    script += "@chcp 65001 >nul\r\n";
  }
  script += "@cd /d " + QuotedPath(programFolder) + "\r\n";
  script += "@envprep.exe run\r\n";
  script += "@call envprep.bat\r\n";
  script += "@del envprep.bat\r\n";
  AppendJobLines(jobLines, script);
  if (unicode) script += "@chcp %quorvel_codepage% >nul\r\n";
  return script;
}

StartBatch StartScript(std::span<const std::string> jobLines, std::string_view programFolder,
                       std::string_view name,
                       const std::function<bool(std::string_view)>& spelled) {
  std::string text = "@cd /d " + QuotedPath(programFolder) + "\r\n";
  text += "@echo Please wait until this process is set into idle.\r\n";
  text += "@lullo.exe 1000\r\n";
  text += "@envprep.exe run\r\n";
  text += "@call envprep.bat\r\n";
  text += "@del envprep.bat\r\n";
  AppendJobLines(jobLines, text);
  text += "del ";
  text += name;
  StartBatch batch;
  std::map<std::string, std::string> variables;
  batch.script = Spelled(text, spelled, variables, batch.variables);
  return batch;
}
