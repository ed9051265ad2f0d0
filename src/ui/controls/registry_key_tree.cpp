#include "ui/controls/registry_key_tree.h"

#include <shellapi.h>

#include <memory>
#include <utility>

#include "foundation/registry_path.h"
#include "scan/registry_walker.h"

namespace kelvane {

namespace {

constexpr UINT_PTR kSubclassId = 0x4B54;
constexpr int kImageSize = 16;
// Never a colour of a drawn tick box: the transparent part of the pictures.
constexpr COLORREF kMaskColour = RGB(0xFF, 0x00, 0xFF);
// A subkey name holding this is left out: the tree's records of a level
// keep name and path apart with it.
constexpr char kRecordSeparator[] = "\t\t\t";

constexpr RootKey kTopRoots[] = {kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig};

struct LevelRecord {
  std::string name;
  std::string fullPath;
};

struct LevelFill {
  std::string parentPath;  // full path of the key opened
  std::vector<LevelRecord> records;
};

int AddLevelRecord(RootKey, const std::string&, const std::string& name, std::uint32_t,
                   std::uint32_t, const unsigned char*, std::uint32_t, void* context) {
  auto* fill = static_cast<LevelFill*>(context);
  if (name.empty() || name.find(kRecordSeparator) != std::string::npos) return 1;
  fill->records.push_back({name, fill->parentPath + "\\" + name});
  return 1;
}

std::string WithoutTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// Restores the cursor and the tree's drawing however the fill ends.
class BusyTree {
 public:
  explicit BusyTree(HWND tree) : tree_(tree), cursor_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {
    SendMessageA(tree_, WM_SETREDRAW, FALSE, 0);
  }
  ~BusyTree() {
    SendMessageA(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
    SetCursor(cursor_);
  }
  BusyTree(const BusyTree&) = delete;
  BusyTree& operator=(const BusyTree&) = delete;

 private:
  HWND tree_;
  HCURSOR cursor_;
};

}  // namespace

bool RegistryKeyTree::Attach(HWND tree) {
  if (window_ != nullptr || !IsWindow(tree)) return false;
  if (!SetWindowSubclass(tree, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  window_ = tree;
  MakeImages();
  return true;
}

void RegistryKeyTree::Detach() {
  if (window_ == nullptr) return;
  // The items' paths are freed as the parent hands on their deletion.
  SendMessageA(window_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  RemoveWindowSubclass(window_, Subclass, kSubclassId);
  SendMessageA(window_, TVM_SETIMAGELIST, TVSIL_STATE, 0);
  SendMessageA(window_, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
  window_ = nullptr;
}

void RegistryKeyTree::MakeImages() {
  // The tick boxes: image 0 is never shown (no tick box), 1 to 3 are the states.
  ticks_.Reset(ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 4, 0));
  const HDC screen = GetDC(window_);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP strip = CreateCompatibleBitmap(screen, 4 * kImageSize, kImageSize);
  ReleaseDC(window_, screen);
  if (dc != nullptr && strip != nullptr && ticks_.IsValid()) {
    const HGDIOBJ previous = SelectObject(dc, strip);
    RECT all = {0, 0, 4 * kImageSize, kImageSize};
    const HBRUSH mask = CreateSolidBrush(kMaskColour);
    FillRect(dc, &all, mask);
    DeleteObject(mask);
    const UINT looks[] = {0, DFCS_BUTTONCHECK, DFCS_BUTTON3STATE | DFCS_CHECKED,
                          DFCS_BUTTONCHECK | DFCS_CHECKED};
    for (int state = kUnticked; state <= kTicked; ++state) {
      RECT box = {state * kImageSize + 2, 2, state * kImageSize + kImageSize - 1, kImageSize - 1};
      DrawFrameControl(dc, &box, DFC_BUTTON, looks[state] | DFCS_FLAT);
    }
    SelectObject(dc, previous);
    ImageList_AddMasked(ticks_.Get(), strip, kMaskColour);
  }
  if (strip != nullptr) DeleteObject(strip);
  if (dc != nullptr) DeleteDC(dc);
  SendMessageA(window_, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(ticks_.Get()));

  // Image 0 a closed folder, image 1 an open one, as the shell draws them.
  folders_.Reset(ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                  ILC_COLOR32 | ILC_MASK, 2, 0));
  for (UINT open : {0u, static_cast<UINT>(SHGFI_OPENICON)}) {
    SHFILEINFOA info = {};
    if (SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES | open) &&
        info.hIcon != nullptr) {
      ImageList_AddIcon(folders_.Get(), info.hIcon);
      DestroyIcon(info.hIcon);
    }
  }
  if (ImageList_GetImageCount(folders_.Get()) == 2)
    SendMessageA(window_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(folders_.Get()));
}

HTREEITEM RegistryKeyTree::InsertKey(HTREEITEM parent, const std::string& name,
                                     const std::string& fullPath, int state) {
  auto path = std::make_unique<std::string>(WithoutTrailingBackslash(fullPath));
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(name.c_str());
  insert.item.iImage = 0;
  insert.item.iSelectedImage = 1;
  insert.item.state = INDEXTOSTATEIMAGEMASK(state);
  insert.item.stateMask = TVIS_STATEIMAGEMASK;
  insert.item.lParam = reinterpret_cast<LPARAM>(path.get());
  const auto item = reinterpret_cast<HTREEITEM>(
      SendMessageA(window_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (item == nullptr) return nullptr;
  path.release();  // the item owns it now; TVN_DELETEITEM frees it
  RootKey root = 0;
  std::string subkey;
  const std::string& stored = *PathOf(item);
  if (SplitRegistryPath(stored, root, subkey) && !HasNoSubkeys(root, subkey))
    InsertPlaceholder(item);
  return item;
}

void RegistryKeyTree::InsertPlaceholder(HTREEITEM parent) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(kTreePlaceholderText);
  insert.item.lParam = 0;
  SendMessageA(window_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
}

void RegistryKeyTree::FillTree(const std::string& startPath, int state, HTREEITEM parent) {
  if (window_ == nullptr) return;
  if (startPath.empty()) {
    for (RootKey root : kTopRoots) InsertKey(parent, RootKeyName(root), RootKeyName(root), state);
    return;
  }
  RootKey root = 0;
  std::string subkey;
  if (!SplitRegistryPath(startPath, root, subkey)) return;
  LevelFill fill;
  fill.parentPath = FullRegistryPath(root, subkey);
  if (subkey.empty()) fill.parentPath = RootKeyName(root);
  EnumSubkeys(root, subkey, AddLevelRecord, &fill, 0, 0xFFFFFFFFu, 0);
  for (const LevelRecord& record : fill.records)
    InsertKey(parent, record.name, record.fullPath, state);
}

void RegistryKeyTree::OpenItem(HTREEITEM item) {
  const HTREEITEM first = FirstChild(item);
  // A real key of the placeholder's name has a path: only the placeholder
  // itself asks for a fill.
  if (first == nullptr || PathOf(first) != nullptr || TextOf(first) != kTreePlaceholderText) return;
  const std::string* path = PathOf(item);
  if (path == nullptr) return;
  const std::string parentPath = *path;
  const int state = TickOf(item);
  BusyTree busy(window_);
  for (HTREEITEM child = FirstChild(item); child != nullptr; child = FirstChild(item))
    SendMessageA(window_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
  FillTree(parentPath, state, item);
}

HTREEITEM RegistryKeyTree::Root(HTREEITEM item) const {
  return item == TVI_ROOT ? TreeView_GetRoot(window_) : item;
}

HTREEITEM RegistryKeyTree::FirstChild(HTREEITEM item) const {
  if (item == TVI_ROOT || item == nullptr) return TreeView_GetRoot(window_);
  return TreeView_GetChild(window_, item);
}

HTREEITEM RegistryKeyTree::NextSibling(HTREEITEM item) const {
  return TreeView_GetNextSibling(window_, item);
}

HTREEITEM RegistryKeyTree::Parent(HTREEITEM item) const {
  return TreeView_GetParent(window_, item);
}

int RegistryKeyTree::TickOf(HTREEITEM item) const {
  const UINT state = TreeView_GetItemState(window_, item, TVIS_STATEIMAGEMASK);
  return static_cast<int>((state & TVIS_STATEIMAGEMASK) >> 12);
}

void RegistryKeyTree::SetTick(HTREEITEM item, int state) {
  TreeView_SetItemState(window_, item, INDEXTOSTATEIMAGEMASK(state), TVIS_STATEIMAGEMASK);
}

std::string RegistryKeyTree::TextOf(HTREEITEM item) const {
  std::vector<char> buffer(256);
  for (;;) {
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = buffer.data();
    query.cchTextMax = static_cast<int>(buffer.size());
    buffer[0] = 0;
    if (!SendMessageA(window_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)))
      return std::string();
    const std::string text(query.pszText != nullptr ? query.pszText : "");
    if (text.size() + 1 < buffer.size()) return text;
    buffer.resize(buffer.size() * 2);  // the text may have been cut: read it again
  }
}

const std::string* RegistryKeyTree::PathOf(HTREEITEM item) const {
  TVITEMA query = {};
  query.mask = TVIF_PARAM;
  query.hItem = item;
  if (!SendMessageA(window_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return nullptr;
  return reinterpret_cast<const std::string*>(query.lParam);
}

HTREEITEM RegistryKeyTree::FindChild(HTREEITEM parent, const std::string& text) const {
  for (HTREEITEM child = FirstChild(parent); child != nullptr; child = NextSibling(child))
    if (TextOf(child) == text) return child;
  return nullptr;
}

void RegistryKeyTree::SetTickBelow(HTREEITEM item, int state) {
  for (HTREEITEM child = TreeView_GetChild(window_, item); child != nullptr;
       child = NextSibling(child)) {
    SetTick(child, state);
    SetTickBelow(child, state);
  }
}

void RegistryKeyTree::UpdateParents(HTREEITEM item, int state) {
  for (HTREEITEM level = item;;) {
    const HTREEITEM parent = Parent(level);
    if (parent == nullptr) return;
    bool allSame = true;
    for (HTREEITEM sibling = TreeView_GetChild(window_, parent); sibling != nullptr;
         sibling = NextSibling(sibling)) {
      const int tick = TickOf(sibling);
      if (tick != kNoTick && tick != state) allSame = false;
    }
    if (!allSame) {
      for (HTREEITEM above = parent; above != nullptr; above = Parent(above))
        if (TickOf(above) != kNoTick) SetTick(above, kPartlyTicked);
      return;
    }
    if (TickOf(parent) != kNoTick) SetTick(parent, state);
    level = parent;
  }
}

void RegistryKeyTree::ToggleTick(HTREEITEM item) {
  if (item == nullptr) return;
  const int state = TickOf(item) == kTicked ? kUnticked : kTicked;
  SetTick(item, state);
  SetTickBelow(item, state);
  UpdateParents(item, state);
}

void RegistryKeyTree::Collect(HTREEITEM first, std::vector<std::string>& paths) const {
  for (HTREEITEM item = first; item != nullptr; item = NextSibling(item)) {
    const int tick = TickOf(item);
    if (tick == kPartlyTicked) {
      Collect(TreeView_GetChild(window_, item), paths);
    } else if (tick == kTicked) {
      if (const std::string* path = PathOf(item))
        paths.push_back(*path);
      else
        Collect(TreeView_GetChild(window_, item), paths);
    }
  }
}

std::vector<std::string> RegistryKeyTree::CollectTicked() const {
  std::vector<std::string> paths;
  if (window_ != nullptr) Collect(TreeView_GetRoot(window_), paths);
  return paths;
}

bool RegistryKeyTree::OnNotify(const NMHDR& header) {
  if (window_ == nullptr || header.hwndFrom != window_) return false;
  switch (header.code) {
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
      // Both forms keep the item's data at the same place.
      delete reinterpret_cast<std::string*>(
          reinterpret_cast<const NMTREEVIEWA&>(header).itemOld.lParam);
      return true;
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
      if (change.action & TVE_EXPAND) OpenItem(change.itemNew.hItem);
      return true;
    }
  }
  return false;
}

LRESULT RegistryKeyTree::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      TVHITTESTINFO hit = {};
      hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const auto item = reinterpret_cast<HTREEITEM>(
          SendMessageA(window_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      if (item != nullptr && (hit.flags & TVHT_ONITEMSTATEICON)) ToggleTick(item);
      break;  // the tree selects the item as well
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        const HTREEITEM item = TreeView_GetSelection(window_);
        if (item != nullptr && TickOf(item) != kNoTick) ToggleTick(item);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == ' ') return 0;  // not a search for an item starting with a blank
      break;
    case WM_DESTROY:
      // While the parent still hands on the deletions that free the paths.
      SendMessageA(window_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
      break;
  }
  return DefSubclassProc(window_, message, wParam, lParam);
}

LRESULT CALLBACK RegistryKeyTree::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<RegistryKeyTree*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, Subclass, kSubclassId);
    if (self->window_ == window) self->window_ = nullptr;
    return DefSubclassProc(window, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

}  // namespace kelvane
