// The tool's help places: the help section F1 and each Help button open, by the window on top.
#pragma once

#include "zazivev/res/resource.h"

namespace vz {

// A window's help place is the id of the button that opens it.
constexpr int kHelpContextMain = 102;
constexpr int kHelpContextMasters = IDC_MAIN_MASTERS;
constexpr int kHelpContextSiteSurvey = IDC_MAIN_SITE_SURVEY;
constexpr int kHelpContextSnoop = IDC_MAIN_SNOOP;
constexpr int kHelpContextConfiguration = IDC_MAIN_CONFIGURATION;
constexpr int kHelpContextDirectedLink = IDC_MASTERS_TEST_LINK;

// Sets the tool's help place for one window's run and gives the previous one back afterwards.
class ScopedHelpContext {
  public:
    ScopedHelpContext(int& helpContext, int place)
        : helpContext_(helpContext), previous_(helpContext) {
        helpContext = place;
    }
    ~ScopedHelpContext() { helpContext_ = previous_; }
    ScopedHelpContext(const ScopedHelpContext&) = delete;
    ScopedHelpContext& operator=(const ScopedHelpContext&) = delete;

  private:
    int& helpContext_;
    const int previous_;
};

}  // namespace vz
