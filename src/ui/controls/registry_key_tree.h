#pragma once
// A tree of the whole registry with a three-state tick per key, filled one
// level at a time as the user opens keys. Each real item keeps its key's
// full path ("HKEY_CURRENT_USER\Software\Vendor") and frees it when the
// item goes; a key with subkeys that has not been opened yet has one
// placeholder child, which is what tells the tree to fill it.
//
// Ticks: state image 1 = not ticked, 2 = partly ticked (some keys below
// are), 3 = ticked, 0 = no tick box. Ticking a key ticks everything below it
// that the tree holds, and keys opened later inherit their parent's tick; a
// parent follows its children.
//
// The wrapper lives on the user-interface thread, subclasses the tree view
// for the tick box clicks and the space key, and needs the tree's parent to
// hand it the tree's WM_NOTIFY messages.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "foundation/scoped_handle.h"

namespace kelvane {

enum TickState : int { kNoTick = 0, kUnticked = 1, kPartlyTicked = 2, kTicked = 3 };

// The text of the placeholder child of a key not opened yet.
constexpr const char* kTreePlaceholderText = "{28010B21-4930-4b61-AF4C-09359FD32EBF}";

class RegistryKeyTree {
 public:
  RegistryKeyTree() = default;
  ~RegistryKeyTree() { Detach(); }
  RegistryKeyTree(const RegistryKeyTree&) = delete;
  RegistryKeyTree& operator=(const RegistryKeyTree&) = delete;

  // Takes over a tree view of a dialog template. False when `tree` is no
  // window or one is attached already.
  bool Attach(HWND tree);
  void Detach();
  HWND window() const { return window_; }

  // With an empty `startPath`: the five roots below `parent` (TVI_ROOT for
  // the top), each with `state`. Otherwise the subkeys of `startPath`.
  void FillTree(const std::string& startPath, int state, HTREEITEM parent);

  // The full paths of the ticked keys in tree order; below a ticked key
  // nothing more is taken.
  std::vector<std::string> CollectTicked() const;

  // Flips the item's tick (partly ticked becomes ticked) and carries it
  // down to every item below and up to the parents.
  void ToggleTick(HTREEITEM item);

  // For the tree's parent: the tree's notifications. True when handled.
  bool OnNotify(const NMHDR& header);

  // Items and what they hold.
  HTREEITEM Root(HTREEITEM item) const;  // TVI_ROOT gives the first top item
  HTREEITEM FirstChild(HTREEITEM item) const;
  HTREEITEM NextSibling(HTREEITEM item) const;
  HTREEITEM Parent(HTREEITEM item) const;
  int TickOf(HTREEITEM item) const;
  std::string TextOf(HTREEITEM item) const;
  // The key's full path; nullptr for a placeholder.
  const std::string* PathOf(HTREEITEM item) const;
  // The child of `parent` whose text is `text`, or nullptr.
  HTREEITEM FindChild(HTREEITEM parent, const std::string& text) const;

 private:
  static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR data);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  HTREEITEM InsertKey(HTREEITEM parent, const std::string& name, const std::string& fullPath,
                      int state);
  void InsertPlaceholder(HTREEITEM parent);
  void SetTick(HTREEITEM item, int state);
  void SetTickBelow(HTREEITEM item, int state);
  void UpdateParents(HTREEITEM item, int state);
  void OpenItem(HTREEITEM item);
  void Collect(HTREEITEM first, std::vector<std::string>& paths) const;
  void MakeImages();

  HWND window_ = nullptr;
  ScopedImageList ticks_;
  ScopedImageList folders_;
};

}  // namespace kelvane
