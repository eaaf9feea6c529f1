// Statements that drive dialogs and answer message windows and file boxes.
#include <algorithm>

#include "HostScript.h"
#include "ScriptTable.h"

namespace host {

namespace {
std::string Join(const ScriptWords& w, std::size_t from) {
  std::string s;
  for (std::size_t i = from; i < w.size(); ++i) s += (i > from ? " " : "") + w[i];
  return s;
}

TavDlgWidget* SensitiveWidget(ScriptRunner& r, const std::string& spec, std::string& err) {
  TavDlgWidget* wd = r.ResolveWidget(spec, err);
  if (wd && !wd->IsSensitive()) {
    err = spec + " is insensitive";
    return nullptr;
  }
  return wd;
}

bool AnswerFile(ScriptRunner& r, const std::string& path) {
  if (!r.Engine().AnswerPending("file", path, nullptr)) r.Engine().QueueFileAnswer(true, path);
  return true;
}

const std::vector<std::string>& Notifications() {
  static const std::vector<std::string> v{"ok", "cancel", "close", "apply", "select", "modify", "activate", "leave", "dropdown"};
  return v;
}

bool Notify(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  TavDlgWidget* wd = r.ResolveWidget(a[0], err);
  if (!wd) return false;
  const std::string n = TavUnicodeString(a[1]).ToUpper().utf8();
  if (std::find(Notifications().begin(), Notifications().end(), TavUnicodeString(a[1]).ToLower().utf8()) ==
      Notifications().end()) {
    err = "unknown notification '" + a[1] + "'" + DidYouMean(a[1], Notifications());
    return false;
  }
  const bool closing = n == "OK" || n == "CANCEL" || n == "CLOSE" || n == "APPLY";
  if (auto* d = dynamic_cast<TavDlgDialog*>(wd); d && (n == "OK" || n == "CANCEL" || n == "APPLY") && !d->IsVisible()) {
    err = "dialog " + a[0] + " is not shown";
    return false;
  }
  HostEngine& engine = r.Engine();
  TavStateCommand* before = engine.RunningCommand();
  std::string state = before && before->GetCurrentState() ? before->GetCurrentState()->GetName() : "";
  const std::uint64_t taken = engine.NotificationsTaken();
  TavDlgDialog* d = wd->GetDialog();
  wd->Notify(n);
  // A notification that neither a callback nor an agent waited for is the script's mistake.
  bool moved = engine.RunningCommand() != before || engine.NotificationsTaken() != taken ||
               (before && before->GetCurrentState() && before->GetCurrentState()->GetName() != state);
  if (!moved && closing && d && TavDlgDialog::FindByName(a[0].substr(0, a[0].find('.'))) == d && d->LastDispatchCount() == 0) {
    err = "no callback or state waits for " + n + " of " + a[0];
    return false;
  }
  return true;
}

bool AnswerBox(ScriptRunner& r, const std::string& word) {
  HostEngine& engine = r.Engine();
  std::string u = TavUnicodeString(word).ToUpper().utf8();
  if (u == "CANCEL" && engine.AnswerPending("cancel", {}, nullptr)) return true;
  if (engine.AnswerPending(u, {}, nullptr)) return true;
  if (u == "CANCEL") engine.QueueFileAnswer(false, {});
  engine.QueueAnswer(u);  // for the next modal box
  return true;
}

ScriptStatement Answer(const std::string& word, const std::string& summary) {
  return {word, {}, summary, {}, [word](ScriptRunner& r, const ScriptWords&, std::string&) { return AnswerBox(r, word); }};
}
}  // namespace

void AddDialogStatements(ScriptTable& t) {
  t.Add({"set", {{"DIALOG.WIDGET", ArgKind::Widget}, {"VALUE", ArgKind::WidgetValue, false, true}},
         "set a widget's value as the user would",
         "Types into an editor, checks a button (checked/unchecked), chooses a list row\n"
         "or combo line (by number from 0, or by its text; `none` clears), sets a\n"
         "spinner, chooses a tab page. The widget's notification then reaches the command.\n"
         "Example:\n  set ASRDialog.asrmultilist 0\n  set AttributeDlg.ValueEditor.1 \"2 mm\"",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           TavDlgWidget* wd = SensitiveWidget(r, a[0], err);
           return wd && wd->SetValueFromText(Join(a, 1), &err);
         }});
  t.Add({"choose", {{"DIALOG.LIST", ArgKind::Widget}, {"LINE", ArgKind::WidgetValue, false, true}},
         "select several lines of a list at once",
         "Selects the lines given (numbers from 0, or line texts), as the user does with\n"
         "Ctrl held, in a list that allows it; the list then notifies once.\n"
         "Example:\n  choose StateDlg.pItmStatesSelectorList Open Closed",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           TavDlgWidget* wd = SensitiveWidget(r, a[0], err);
           if (!wd) return false;
           auto* lines = dynamic_cast<TavDlgRows*>(wd);
           if (!lines) {
             err = a[0] + " is no list";
             return false;
           }
           return lines->SelectLinesFromText(ScriptWords(a.begin() + 1, a.end()), &err);
         }});
  t.Add({"push", {{"DIALOG.WIDGET", ArgKind::Widget}}, "push a button or choose a menu item",
         "Pushes a push button of a shown dialog, or chooses an item of the contextual\n"
         "menu shown.\nExample:\n  push ASRDialog.OK\n  push OrvGanttSearchDlg.RemoveMenu",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           TavDlgWidget* wd = SensitiveWidget(r, a[0], err);
           if (!wd) return false;
           if (wd->GetKind() == "menuitem")
             for (TavDlgWidget* f = wd; f && (f == wd || f->GetKind() == "menu" || f->GetKind() == "submenu"); f = f->GetFather())
               if (!f->IsVisible()) {
                 err = (f == wd ? "menu item " : "menu ") + f->GetName() + " is not shown";
                 return false;
               }
           wd->Notify(TavDlgNotification::Activate);
           return true;
         }});
  t.Add({"click", {{"DIALOG.LIST", ArgKind::Widget}, {"COLUMN", ArgKind::Word}}, "click a column title of a list",
         "Clicks the title of a column (a number from 0) of a multi-column list, as the\n"
         "user does to sort it.\nExample:\n  click OrvGanttAddAttributeDlg.AllAttributesList 0",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           TavDlgWidget* wd = SensitiveWidget(r, a[0], err);
           if (!wd) return false;
           auto* list = dynamic_cast<TavDlgMultiList*>(wd);
           if (!list) {
             err = a[0] + " is no multi-column list";
             return false;
           }
           int column = -1;
           try {
             std::size_t used = 0;
             column = std::stoi(a[1], &used);
             if (used != a[1].size()) column = -1;
           } catch (const std::exception&) {
           }
           if (!list->ClickColumn(column)) {
             err = a[0] + " has no column " + a[1];
             return false;
           }
           return true;
         }});
  t.Add({"notify", {{"DIALOG[.WIDGET]", ArgKind::Widget}, {"NOTIFICATION", ArgKind::Choice, false, false, Notifications()}},
         "send a dialog notification",
         "Sends a notification as the window system would: ok, cancel, apply (the\n"
         "dialog's buttons), close (the window's close box), select, modify, activate,\n"
         "leave (the keyboard focus leaves an editor).\n"
         "One nothing waits for fails.\nExample:\n  notify AttributeDlg close",
         Notify});
  t.Add({"answer", {}, "answer the message window or file box that waits, or the next one",
         "Answers the message window shown without blocking, or queues the answer for\n"
         "the next one that blocks; `answer file PATH` chooses a file to write in a file box\n"
         "(`answer open PATH` one to read, beside the script),\n"
         "`answer cancel` cancels it.\nExample:\n  answer ok\n  answer file report.xml",
         nullptr,
         {Answer("ok", "answer OK"), Answer("cancel", "answer Cancel (a file box too)"), Answer("yes", "answer Yes"),
          Answer("no", "answer No"),
          {"file", {{"PATH", ArgKind::File}}, "choose a file to write in the file box that waits, or the next one", {},
           [](ScriptRunner& r, const ScriptWords& a, std::string&) { return AnswerFile(r, r.FilePath(a[0], true)); }},
          // A file to read lies beside the script, as the plants it opens do.
          {"open", {{"PATH", ArgKind::File}}, "choose a file to read (beside the script) in the file box that waits, or the next one", {},
           [](ScriptRunner& r, const ScriptWords& a, std::string&) { return AnswerFile(r, r.FilePath(a[0], false)); }}}});
}

}  // namespace host
