#include "Unit_closed.h"

#include <utility>

const TClassInfo& TClosedListView::StaticClassInfo() {
  static const TClassInfo info{
      "TClosedListView",
      &TListView::StaticClassInfo(),
      [](TComponent* owner) -> TComponent* { return new TClosedListView(owner); },
      {}};
  return info;
}

void TClosedListView::SetRows(std::vector<TRow> rows) {
  FRows = std::move(rows);
  if (!FHandle) return;
  SendMessageA(FHandle, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < FRows.size(); ++i)
    InsertRow(static_cast<int>(i), FRows[i]);
}

void TClosedListView::AddTop(TRow row, size_t maxRows) {
  FRows.insert(FRows.begin(), std::move(row));
  if (FHandle) InsertRow(0, FRows.front());
  while (FRows.size() > maxRows) {
    FRows.pop_back();
    if (FHandle) SendMessageA(FHandle, LVM_DELETEITEM, FRows.size(), 0);
  }
}

void TClosedListView::RestoreWindowState() {
  // A window that holds rows already keeps them (the toolkit's view leaves its state too).
  const bool filled = SendMessageA(FHandle, LVM_GETITEMCOUNT, 0, 0) > 0;
  TListView::RestoreWindowState(); // styles and columns
  if (filled) return;
  for (size_t i = 0; i < FRows.size(); ++i)
    InsertRow(static_cast<int>(i), FRows[i]);
}

void TClosedListView::InsertRow(int index, const TRow& row) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<char*>(row.empty() ? "" : row[0].c_str());
  const LRESULT at = SendMessageA(FHandle, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  if (at < 0) return;
  for (size_t c = 1; c < row.size(); ++c) {
    LVITEMA sub{};
    sub.iSubItem = static_cast<int>(c);
    sub.pszText = const_cast<char*>(row[c].c_str());
    SendMessageA(FHandle, LVM_SETITEMTEXTA, static_cast<WPARAM>(at),
                 reinterpret_cast<LPARAM>(&sub));
  }
}

const TClassInfo& TForm_closed::StaticClassInfo() {
  static const TClassInfo info{"TForm_closed", &TForm::StaticClassInfo(), nullptr, {}};
  return info;
}

TForm_closed::TForm_closed(TComponent* owner) : TForm(owner) {
  RegisterClassInfo(&TClosedListView::StaticClassInfo());
  ReadStoredDescription();
  HandleNeeded();
  DoCreate();
}

void TForm_closed::BindField(TComponent* c) {
  if (c->Name == "ListView1") ListView1 = dynamic_cast<TClosedListView*>(c);
}

void TForm_closed::ShowRecords(const std::deque<TClosedWindow>& recent) {
  std::vector<TClosedListView::TRow> rows;
  rows.reserve(recent.size());
  for (const TClosedWindow& c : recent)
    rows.push_back(ShownFields(c));
  ListView1->SetRows(std::move(rows));
}

void TForm_closed::AddRecord(const TClosedWindow& closed) {
  ListView1->AddTop(ShownFields(closed), TClosedRecords::kKept);
}
