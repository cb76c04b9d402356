// The modal loop over the dialog manager's services alone: script input and a waiting user.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/plugin_library.hpp"
#include "dialogs/dialog_manager.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_dialog.h"

namespace {

using sqhost::DialogAction;
using sqhost::DialogInput;

constexpr int32_t kAboutTemplate = 16050;

// Services that record what the dialog manager asks of the host; the input is a list given
// beforehand, each entry an action or other input.
class RecordingServices final : public sqhost::DialogServices, public DialogInput {
 public:
  RecordingServices(const sqhost::PluginResources& resources, WaitPolicy policy)
      : resources_(resources), policy_(policy) {}

  void note(const std::string& line) override { notes.push_back(line); }
  std::string errorText(AIErr error) const override { return std::to_string(error); }
  void postNotification(const std::string&) override {}
  void deliverNotifications(bool) override {}
  const sqhost::PluginResources* pluginResources() const override { return &resources_; }
  void beginUserAction() override { ++actions; }
  void endUserAction() override {}
  DialogInput& input() override { return *this; }

  WaitPolicy waitPolicy() const override { return policy_; }
  Next peek() override { return pending.empty() ? Next{} : pending.front(); }
  void take() override { pending.pop_front(); }

  static Next action(DialogAction::Kind kind, int32_t item = 0, const std::string& dialog = "") {
    DialogAction a;
    a.kind = kind;
    a.item = item;
    a.dialog = dialog;
    return {Next::Kind::Action, a};
  }
  static Next other() { return {Next::Kind::Other, {}}; }

  bool noted(const std::string& fragment) const {
    for (const auto& line : notes) {
      if (line.find(fragment) != std::string::npos) return true;
    }
    return false;
  }

  std::deque<Next> pending;
  std::vector<std::string> notes;
  int actions = 0;

 private:
  const sqhost::PluginResources& resources_;
  WaitPolicy policy_;
};

class ModalInput : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    library_ = sqhost::PluginLibrary::open(SQ_PLUGIN_PATH, error);
    ASSERT_NE(library_, nullptr) << error;
  }

  // Runs the About dialog as a modal dialog named "About" with this input; the id it closed with.
  int32_t runAbout(DialogInput::WaitPolicy policy, std::deque<DialogInput::Next> input) {
    services_ = std::make_unique<RecordingServices>(library_->resources(), policy);
    services_->pending = std::move(input);
    manager_ = std::make_unique<sqhost::DialogManager>(*services_);
    int32_t closedWith = -1;
    EXPECT_EQ(manager_->runModal(kAboutTemplate, "About", kADMModalDialogStyle, nullptr, nullptr,
                                 closedWith),
              kNoErr);
    EXPECT_FALSE(manager_->hasDialogs());
    return closedWith;
  }

  std::unique_ptr<sqhost::PluginLibrary> library_;
  std::unique_ptr<RecordingServices> services_;
  std::unique_ptr<sqhost::DialogManager> manager_;
};

using K = DialogAction::Kind;
using Policy = DialogInput::WaitPolicy;
using Services = RecordingServices;

TEST_F(ModalInput, AScriptsInputAnswersOnlyWhenItsNextEntryIsForTheDialog) {
  // Addressed by name or to the front dialog: taken, one undo context each.
  EXPECT_EQ(runAbout(Policy::CancelUnanswered, {Services::action(K::Press, 1, "About")}), 1);
  EXPECT_EQ(services_->actions, 1);
  EXPECT_TRUE(services_->pending.empty());
  EXPECT_FALSE(manager_->dialogsShown().back().cancelled);

  // Other input, or an action for another dialog, cancels it and stays for the outer loop.
  for (const auto& first : {Services::other(), Services::action(K::Press, 1, "Another")}) {
    EXPECT_EQ(runAbout(Policy::CancelUnanswered, {first, Services::action(K::Press, 1)}),
              kADMCancelItemID);
    EXPECT_EQ(services_->pending.size(), 2u);
    EXPECT_EQ(services_->actions, 0);
    EXPECT_TRUE(manager_->dialogsShown().back().cancelled);
    EXPECT_TRUE(services_->noted("cancelled: no queued action answered it"));
  }

  // An alert takes only OK or Escape and is dismissed without either.
  services_->pending = {Services::action(K::Press, 5, "alert")};
  manager_->showAlert(sqhost::AlertRecord::Kind::Message, "Note");
  EXPECT_EQ(services_->pending.size(), 1u);
  services_->pending = {Services::action(K::Press, 1, "alert"), Services::other()};
  manager_->showAlert(sqhost::AlertRecord::Kind::Message, "Note");
  EXPECT_EQ(services_->pending.size(), 1u);
}

TEST_F(ModalInput, AWaitingUserIsAnsweredAfterInputThatIsNotForTheDialogIsRefused) {
  EXPECT_EQ(
      runAbout(Policy::WaitForUser, {Services::other(), Services::action(K::Press, 1, "Another"),
                                     Services::action(K::Press, 1)}),
      1);
  EXPECT_TRUE(services_->pending.empty());
  EXPECT_EQ(services_->actions, 1);
  EXPECT_TRUE(services_->noted("input refused while \"About\" is open"));
  EXPECT_FALSE(manager_->dialogsShown().back().cancelled);

  // When the input closes (nothing more will come) the dialog is cancelled.
  EXPECT_EQ(runAbout(Policy::WaitForUser, {Services::other()}), kADMCancelItemID);
  EXPECT_TRUE(manager_->dialogsShown().back().cancelled);
  EXPECT_TRUE(services_->noted("dialog \"About\" cancelled: the input closed"));

  // An alert waits for OK or Escape past other input.
  services_->pending = {Services::action(K::Press, 5, "alert"), Services::action(K::Cancel),
                        Services::other()};
  manager_->showAlert(sqhost::AlertRecord::Kind::Error, "Failed");
  EXPECT_EQ(services_->pending.size(), 1u);
}

}  // namespace
