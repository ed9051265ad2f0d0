#include "scan/scan_config.h"

#include <windows.h>

#include <climits>

#include "foundation/file_checks.h"
#include "foundation/setting_number.h"

namespace kelvane {

namespace {

// The MSXML DOM document class and its IXMLDOMDocument interface.
const CLSID kDomDocumentClassId = {
    0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kDomDocumentInterfaceId = {
    0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

const wchar_t kCustomPath[] = L"/Config/Exclude/custom";
const wchar_t kCustomItemsPath[] = L"/Config/Exclude/custom/item";
const wchar_t kDefaultItemsPath[] = L"/Config/Exclude/default/item";
const wchar_t kAreasPath[] = L"/Config/Areas/";

using NodePtr = ComPtr<IXMLDOMNode>;

NodePtr SelectNode(IXMLDOMNode* context, const std::wstring& path) {
  NodePtr node;
  ComBstr query(path.c_str());
  if (context == nullptr || !query.IsSet() ||
      context->selectSingleNode(query.Get(), node.Put()) != S_OK)
    return NodePtr();
  return node;
}

// Every match in document order, taken out of the list before anyone
// changes the document.
std::vector<NodePtr> SelectNodes(IXMLDOMNode* context, const std::wstring& path) {
  std::vector<NodePtr> nodes;
  ComBstr query(path.c_str());
  ComPtr<IXMLDOMNodeList> list;
  if (context == nullptr || !query.IsSet() ||
      FAILED(context->selectNodes(query.Get(), list.Put())) || !list)
    return nodes;
  for (;;) {
    NodePtr node;
    if (list->nextNode(node.Put()) != S_OK || !node) break;
    nodes.push_back(std::move(node));
  }
  return nodes;
}

// The attribute's text; false when the node has no such attribute.
bool ReadAttribute(IXMLDOMNode* node, const wchar_t* name, std::string& text) {
  text.clear();
  ComPtr<IXMLDOMNamedNodeMap> attributes;
  if (node == nullptr || node->get_attributes(attributes.Put()) != S_OK || !attributes)
    return false;
  ComBstr attributeName(name);
  NodePtr attribute;
  if (attributes->getNamedItem(attributeName.Get(), attribute.Put()) != S_OK || !attribute)
    return false;
  ComVariant value;
  if (FAILED(attribute->get_nodeValue(value.Put()))) return false;
  return value.ToAnsi(text);
}

bool SetAttribute(IXMLDOMNode* node, const wchar_t* name, const std::string& text) {
  ComPtr<IXMLDOMElement> element;
  if (node == nullptr || FAILED(node->QueryInterface(IID_IXMLDOMElement, element.PutVoid())) ||
      !element)
    return false;
  ComBstr attributeName(name);
  ComVariant value(text);
  return value.Get().vt == VT_BSTR &&
         SUCCEEDED(element->setAttribute(attributeName.Get(), value.Get()));
}

// A switch is on only when its text is a decimal 32-bit integer other than
// 0 (surrounding blanks allowed). Anything else ("yes", "", "1.5", a number
// out of range) is off: an area that deletes registry entries runs only
// when it is plainly switched on, and the settings page shows it unticked so
// the user can switch it on again.
bool SwitchTextIsOn(const std::string& text) {
  int value = 0;
  return ParseSettingNumber(text, INT_MIN, INT_MAX, value) && value != 0;
}

bool ReadAreaSwitch(const ScanConfigDocument& document, ScanArea area, const wchar_t* attribute) {
  if (!document.IsLoaded()) return false;
  const NodePtr node = SelectNode(document.dom(), kAreasPath + AnsiToWide(AreaElementName(area)));
  std::string text;
  return node && ReadAttribute(node.Get(), attribute, text) && SwitchTextIsOn(text);
}

// ---- Layout of the user's list -------------------------------------------
// The document keeps its blanks (preserveWhiteSpace), so a hand-formatted
// file stays formatted. New items get the indentation their neighbours have.

bool IsText(IXMLDOMNode* node) {
  DOMNodeType type = NODE_INVALID;
  return node != nullptr && SUCCEEDED(node->get_nodeType(&type)) && type == NODE_TEXT;
}

bool IsBlankText(IXMLDOMNode* node) {
  if (!IsText(node)) return false;
  ComVariant value;
  if (FAILED(node->get_nodeValue(value.Put())) || value.Get().vt != VT_BSTR) return false;
  const BSTR raw = value.Get().bstrVal;
  for (UINT i = 0, n = SysStringLen(raw); i < n; ++i)
    if (raw[i] != L' ' && raw[i] != L'\t' && raw[i] != L'\r' && raw[i] != L'\n') return false;
  return true;
}

// The indentation of a node that starts its own line: the blanks after the
// last line break of the blank text before it.
bool IndentOf(IXMLDOMNode* node, std::wstring& indent) {
  NodePtr previous;
  if (node == nullptr || node->get_previousSibling(previous.Put()) != S_OK ||
      !IsBlankText(previous.Get()))
    return false;
  ComVariant value;
  if (FAILED(previous->get_nodeValue(value.Put())) || value.Get().vt != VT_BSTR) return false;
  const std::wstring text(value.Get().bstrVal, SysStringLen(value.Get().bstrVal));
  const std::size_t lineBreak = text.find_last_of(L'\n');
  if (lineBreak == std::wstring::npos) return false;
  indent = text.substr(lineBreak + 1);
  return true;
}

struct ListLayout {
  bool indented = false;
  std::wstring beforeItem;  // line break + indentation of an item
  std::wstring beforeEnd;   // line break + indentation of the closing tag
};

ListLayout LayoutOf(IXMLDOMNode* list) {
  ListLayout layout;
  std::wstring listIndent;
  if (!IndentOf(list, listIndent)) return layout;  // a compact file stays compact
  layout.indented = true;
  layout.beforeEnd = L"\n" + listIndent;

  std::wstring itemIndent;
  bool found = false;
  for (const NodePtr& item : SelectNodes(list, L"item"))
    if ((found = IndentOf(item.Get(), itemIndent))) break;
  if (!found) {
    // One more step than the list has over its own parent.
    NodePtr parent;
    std::wstring parentIndent;
    std::wstring step = L"  ";
    if (list->get_parentNode(parent.Put()) == S_OK && IndentOf(parent.Get(), parentIndent) &&
        listIndent.size() > parentIndent.size() &&
        listIndent.compare(0, parentIndent.size(), parentIndent) == 0)
      step = listIndent.substr(parentIndent.size());
    itemIndent = listIndent + step;
  }
  layout.beforeItem = L"\n" + itemIndent;
  return layout;
}

bool AppendChild(IXMLDOMNode* parent, IXMLDOMNode* child) {
  NodePtr appended;
  return SUCCEEDED(parent->appendChild(child, appended.Put()));
}

bool AppendBlank(IXMLDOMDocument* dom, IXMLDOMNode* parent, const std::wstring& text) {
  ComBstr data(text.c_str());
  ComPtr<IXMLDOMText> node;
  if (!data.IsSet() || FAILED(dom->createTextNode(data.Get(), node.Put())) || !node) return false;
  return AppendChild(parent, node.Get());
}

// Appends one <item value="..."/> per value after the list's other content.
// The parser joins a text node put beside another text node, so blanks are
// never inserted next to text: the closing blanks become the new item's line
// start and fresh closing blanks follow the item.
bool AppendItems(IXMLDOMDocument* dom, IXMLDOMNode* list, const ListLayout& layout,
                 const std::vector<std::string>& values) {
  ComBstr itemName(L"item");
  for (const std::string& value : values) {
    ComPtr<IXMLDOMElement> item;
    if (FAILED(dom->createElement(itemName.Get(), item.Put())) || !item) return false;
    if (!SetAttribute(item.Get(), L"value", value)) return false;
    if (layout.indented) {
      NodePtr last;
      list->get_lastChild(last.Put());
      if (IsBlankText(last.Get())) {
        ComVariant lineStart(layout.beforeItem.c_str());
        if (lineStart.Get().vt != VT_BSTR || FAILED(last->put_nodeValue(lineStart.Get())))
          return false;
      } else if (!IsText(last.Get()) && !AppendBlank(dom, list, layout.beforeItem)) {
        return false;
      }
    }
    if (!AppendChild(list, item.Get())) return false;
    if (layout.indented && !AppendBlank(dom, list, layout.beforeEnd)) return false;
  }
  return true;
}

// Removes every user item, each with the line it stood on.
bool RemoveUserItems(IXMLDOMDocument* dom) {
  for (const NodePtr& item : SelectNodes(dom, kCustomItemsPath)) {
    NodePtr parent, previous, removed;
    if (item->get_parentNode(parent.Put()) != S_OK || !parent) return false;
    if (item->get_previousSibling(previous.Put()) == S_OK && IsBlankText(previous.Get()))
      parent->removeChild(previous.Get(), removed.Put());
    if (FAILED(parent->removeChild(item.Get(), removed.Put()))) return false;
  }
  return true;
}

std::vector<std::string> NonEmpty(const std::vector<std::string>& values) {
  std::vector<std::string> kept;
  for (const std::string& value : values)
    if (!value.empty()) kept.push_back(value);
  return kept;
}

}  // namespace

bool ScanConfigDocument::Save() const {
  if (!loaded_ || !dom_) return false;
  // A read-only file is one the user keeps as it is.
  const DWORD attributes = GetFileAttributesA(path_.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    return false;
  // The DOM writes its target in place; a failure half-way must not cost
  // the user's file, so it writes a sibling that then replaces the file.
  const std::string temporary = path_ + ".tmp";
  ComVariant target(temporary);
  const bool written = target.Get().vt == VT_BSTR && SUCCEEDED(dom_->save(target.Get())) &&
                       GetFileSize64(temporary) > 0;
  if (written && MoveFileExA(temporary.c_str(), path_.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileA(temporary.c_str());
  return false;
}

ScanConfigDocument LoadScanConfig(const std::string& path) {
  ComPtr<IXMLDOMDocument> dom;
  if (FAILED(CoCreateInstance(kDomDocumentClassId, nullptr, CLSCTX_ALL, kDomDocumentInterfaceId,
                              dom.PutVoid())) ||
      !dom)
    return ScanConfigDocument(ComPtr<IXMLDOMDocument>(), path, false);
  dom->put_async(VARIANT_FALSE);
  dom->put_validateOnParse(VARIANT_FALSE);
  dom->put_resolveExternals(VARIANT_FALSE);   // a settings file fetches nothing
  dom->put_preserveWhiteSpace(VARIANT_TRUE);  // saving keeps the file's layout
  ComVariant source(path);
  VARIANT_BOOL loaded = VARIANT_FALSE;
  const bool ok = source.Get().vt == VT_BSTR && !path.empty() &&
                  dom->load(source.Get(), &loaded) == S_OK && loaded == VARIANT_TRUE;
  return ScanConfigDocument(std::move(dom), path, ok);
}

bool IsAreaEnabled(const ScanConfigDocument& document, ScanArea area) {
  return ReadAreaSwitch(document, area, L"custom");
}

AreaFlags ReadAreaFlags(const std::string& path, bool useFactory) {
  const ScanConfigDocument document = LoadScanConfig(path);
  AreaFlags flags{};
  for (ScanArea area : kScanAreas)
    flags[AreaIndex(area)] = ReadAreaSwitch(document, area, useFactory ? L"default" : L"custom");
  return flags;
}

bool WriteAreaFlags(const std::string& path, const AreaFlags& flags) {
  const ScanConfigDocument document = LoadScanConfig(path);
  if (!document.IsLoaded()) return false;
  bool changed = false;
  for (ScanArea area : kScanAreas) {
    const NodePtr node = SelectNode(document.dom(), kAreasPath + AnsiToWide(AreaElementName(area)));
    if (!node) continue;
    const std::string wanted = flags[AreaIndex(area)] ? "1" : "0";
    std::string current;
    if (ReadAttribute(node.Get(), L"custom", current) && current == wanted) continue;
    if (!SetAttribute(node.Get(), L"custom", wanted)) return false;
    changed = true;
  }
  return !changed || document.Save();
}

std::vector<std::string> ReadExclusions(const std::string& path, bool useFactory) {
  std::vector<std::string> items;
  const ScanConfigDocument document = LoadScanConfig(path);
  if (!document.IsLoaded()) return items;
  for (const NodePtr& node :
       SelectNodes(document.dom(), useFactory ? kDefaultItemsPath : kCustomItemsPath)) {
    std::string value;
    if (ReadAttribute(node.Get(), L"value", value) && !value.empty()) items.push_back(value);
  }
  return items;
}

bool WriteExclusions(const std::string& path, const std::vector<std::string>& items) {
  const ScanConfigDocument document = LoadScanConfig(path);
  if (!document.IsLoaded()) return false;
  const NodePtr list = SelectNode(document.dom(), kCustomPath);
  if (!list) return false;
  const std::vector<std::string> values = NonEmpty(items);
  const bool hadItems = !SelectNodes(document.dom(), kCustomItemsPath).empty();
  if (!hadItems && values.empty()) return true;    // nothing to change
  const ListLayout layout = LayoutOf(list.Get());  // before the old items go
  return RemoveUserItems(document.dom()) &&
         AppendItems(document.dom(), list.Get(), layout, values) && document.Save();
}

bool AddExclusion(const std::string& path, const std::string& value) {
  if (value.empty()) return false;
  const ScanConfigDocument document = LoadScanConfig(path);
  if (!document.IsLoaded()) return false;
  const NodePtr list = SelectNode(document.dom(), kCustomPath);
  if (!list) return false;
  return AppendItems(document.dom(), list.Get(), LayoutOf(list.Get()), {value}) && document.Save();
}

int CountExclusions(const std::string& path) {
  return static_cast<int>(ReadExclusions(path, false).size());
}

}  // namespace kelvane
