// The window "最近关闭的窗口": the last closes of the scan, newest first, one row each with its
// time, title, class, program and the entry that closed it. Made once, on first use, by the main
// window, which owns it; closing it hides it.
#pragma once
#include "ClosedRecords.h"
#include "ComCtrls.h"
#include "Forms.h"

#include <deque>
#include <string>
#include <vector>

// A report list view whose rows are kept as cells (a cell may hold any text, "|" included) and
// shown again whenever the window is made anew.
class TClosedListView : public TListView {
  TK_DECLARE_CLASS(TClosedListView)
public:
  using TListView::TListView;
  using TRow = std::vector<std::string>;
  // Replaces every row.
  void SetRows(std::vector<TRow> rows);
  // Puts a row at the top; rows past maxRows go from the bottom.
  void AddTop(TRow row, size_t maxRows);
  const std::vector<TRow>& Rows() const { return FRows; }

protected:
  void RestoreWindowState() override;

private:
  void InsertRow(int index, const TRow& row);
  std::vector<TRow> FRows;
};

class TForm_closed : public TForm {
  TK_DECLARE_CLASS(TForm_closed)
public:
  explicit TForm_closed(TComponent* owner);
  TClosedListView* ListView1 = nullptr;
  void BindField(TComponent* component) override;

  // Shows these closes (newest first) in place of the rows shown.
  void ShowRecords(const std::deque<TClosedWindow>& recent);
  // Shows one more close at the top.
  void AddRecord(const TClosedWindow& closed);
};
