#pragma once

#include "core/history/HistoryDocument.h"
#include "core/vocabulary/CommandIds.h"
#include "ui/shell/CMainFrame.h"
#include "ui/shell/ChildFrame.h"

#include <memory>
#include <string>
#include <vector>

namespace wattrix::test {

// What the child windows of a test saw, kept beyond their lifetime.
struct ChildLog {
  struct Event {
    ChildKind kind;
    std::string what;  // "command <id>", "prepare <model>", "initial", "stop-for-close", "destroyed"
  };
  std::vector<Event> events;
  bool Saw(ChildKind kind, const std::string& what) const {
    for (const auto& e : events)
      if (e.kind == kind && e.what == what) return true;
    return false;
  }
};

// A child window of a kind that handles the measurement commands a live
// window handles (start, stop, save) and records what the frame asks.
class TestChild : public ChildFrame {
 public:
  TestChild(ChildKind kind, std::shared_ptr<ChildLog> log) : m_kind(kind), m_log(std::move(log)) {}
  ~TestChild() override { Note("destroyed"); }
  ChildKind Kind() const override { return m_kind; }
  bool OnCommand(int id) override {
    if (!Handles(id)) return false;
    Note("command " + std::to_string(id));
    return true;
  }
  bool UpdateCommand(int id, CommandState& state) override {
    if (!Handles(id)) return false;
    state = {true, false};
    return true;
  }
  void StopForClose() override { Note("stop-for-close"); }
  void InitialUpdate() override { Note("initial"); }
  void PrepareForModel(int modelCode) override { Note("prepare " + std::to_string(modelCode)); }

 protected:
  void Note(const std::string& what) { m_log->events.push_back({m_kind, what}); }

 private:
  static bool Handles(int id) {
    return id == cmd::kMeasureStart || id == cmd::kMeasureStop || id == cmd::kFileSave ||
           id == cmd::kFileSaveAs;
  }
  ChildKind m_kind;
  std::shared_ptr<ChildLog> m_log;
};

// A history window over the real history document.
class TestHistoryChild final : public TestChild {
 public:
  explicit TestHistoryChild(std::shared_ptr<ChildLog> log) : TestChild(ChildKind::History, std::move(log)) {}
  bool Load(const std::string& path, std::string& modelName) {
    if (!m_document.Load(path)) return false;
    modelName = m_document.Header().ModelName();
    return true;
  }

 private:
  HistoryDocument m_document;
};

// Registers the test windows for the given kinds (and history loading when
// History is among them).
inline void RegisterTestChildren(CMainFrame& frame, const std::shared_ptr<ChildLog>& log,
                                 std::initializer_list<ChildKind> kinds) {
  for (const ChildKind kind : kinds) {
    if (kind == ChildKind::History) {
      frame.Registry().Register(kind, [log](CMainFrame&) { return std::make_unique<TestHistoryChild>(log); });
      frame.Registry().RegisterHistoryLoader(
          [](ChildFrame& child, const std::string& path, std::string& model) {
            return static_cast<TestHistoryChild&>(child).Load(path, model);
          });
    } else {
      frame.Registry().Register(kind,
                                [log, kind](CMainFrame&) { return std::make_unique<TestChild>(kind, log); });
    }
  }
}

}  // namespace wattrix::test
