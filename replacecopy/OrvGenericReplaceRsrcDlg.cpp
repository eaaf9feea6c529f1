#include "OrvGenericReplaceRsrcDlg.h"

#include "TavServices.h"

OrvGenericReplaceRsrcDlg::OrvGenericReplaceRsrcDlg(TavDlgWidget* father, std::string name, std::string catalog)
    : TavDlgDialog(father, std::move(name), 0, std::move(catalog)) {
  SetTitle(TavMsgCatalog::BuildMessage(kCatalog, "Title", {}, "Replace Resource"));
  SetVisibility(false);
}

OrvGenericReplaceRsrcDlg::~OrvGenericReplaceRsrcDlg() = default;
