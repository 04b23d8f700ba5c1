// Dialog templates read from a program's own resource scripts, so that headless dialogs start
// with exactly the controls, captions, kinds and enable and visible states of the real windows.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/headless/control_state.h"

namespace vz {

class HeadlessUi;

// What the reader cannot make sense of; the text names the file and the line.
class RcError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class RcTemplates {
  public:
    // `headers`: "#define NAME number" and "#define NAME "text"" lines (resource ids, the texts
    // the scripts use); `scripts`: the DIALOG and DIALOGEX statements. Each is a file name with
    // its text. Throws RcError on anything it cannot read: an unknown id name is a typing
    // mistake the real resource compiler would catch too.
    using Source = std::pair<std::string, std::string>;
    static RcTemplates Parse(const std::vector<Source>& headers,
                             const std::vector<Source>& scripts);
    // The same from files on disk.
    static RcTemplates Load(const std::vector<std::string>& headerPaths,
                            const std::vector<std::string>& scriptPaths);

    // Null when the scripts have no such template.
    const TemplateSpec* Find(int templateId) const;
    const std::map<int, TemplateSpec>& All() const { return templates_; }
    // Declares every template to `ui`; controls without an id of their own are left out.
    void DeclareAll(HeadlessUi& ui) const;

  private:
    std::map<int, TemplateSpec> templates_;
};

}  // namespace vz
