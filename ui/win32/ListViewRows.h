#pragma once
// The list views that render a model's rows share how the rows come and go.
#include <commctrl.h>

#include "platform/win32/Win32.h"

namespace velmora {

// Gives the list view `count` rows with empty texts when it has another number; the caller then fills them.
inline void SetListViewRowCount(HWND list, int count) {
    if (ListView_GetItemCount(list) == count)
        return;
    ListView_DeleteAllItems(list);
    ListView_SetItemCount(list, count);
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(L"");
        ListView_InsertItem(list, &item);
    }
}

}  // namespace velmora
