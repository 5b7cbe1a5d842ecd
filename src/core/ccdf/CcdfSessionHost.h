#pragma once

#include <functional>
#include <string>

namespace wattrix {

// What the CCDF window's logic asks of the window around it (the Qt frame,
// or the command-line tool's loop). Everything runs on the session's
// owner thread.
class CcdfSessionHost {
 public:
  virtual ~CcdfSessionHost() = default;

  // A sweep was processed (or the layout or settings changed): hand the
  // session's curve to the graph with the fixed axis ranges and repaint
  // the six panels.
  virtual void RefreshCcdfViews() = 0;
  // Text of the status bar's second pane (power-direction warning); an
  // empty text clears the pane.
  virtual void SetWarningText(const std::string& text) = 0;
  // A yes/no question by string-table key; true on yes.
  virtual bool AskYesNo(const char* key) = 0;
  // Runs a sensor exchange that may take long (the start commands over a
  // serial link); the window keeps painting meanwhile. Returns when done.
  virtual void RunExchange(const std::function<void()>& exchange) { exchange(); }
};

}  // namespace wattrix
