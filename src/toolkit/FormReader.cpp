#include "FormReader.h"
#include "Controls.h"
#include "Menus.h"

#include <cctype>
#include <cstring>

namespace {

class TParser {
public:
  explicit TParser(std::string_view text) : FText(text) {}

  TDescNode ParseRoot() {
    Skip();
    TDescNode node = ParseObject();
    Skip();
    if (FPos < FText.size()) Fail("text after the end of the root object");
    return node;
  }

private:
  [[noreturn]] void Fail(const std::string& what) {
    throw EReadError("Form description, line " + std::to_string(FLine) + ": " + what);
  }

  void Skip() {
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
        ++FPos;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++FPos;
      } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
        while (FPos < FText.size() && FText[FPos] != '\n')
          ++FPos;
      } else {
        break;
      }
    }
  }

  bool Peek(char c) {
    Skip();
    return FPos < FText.size() && FText[FPos] == c;
  }

  void Expect(char c) {
    if (!Peek(c)) Fail(std::string("'") + c + "' expected");
    ++FPos;
  }

  static bool IdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
  }

  std::string Ident() {
    Skip();
    size_t start = FPos;
    while (FPos < FText.size() && IdentChar(FText[FPos]))
      ++FPos;
    if (start == FPos) Fail("name expected");
    return std::string(FText.substr(start, FPos - start));
  }

  std::string String() {
    Expect('"');
    std::string out;
    while (true) {
      if (FPos >= FText.size()) Fail("unterminated string");
      char c = FText[FPos++];
      if (c == '"') break;
      if (c == '\n') Fail("line end inside a string");
      if (c == '\\') {
        if (FPos >= FText.size()) Fail("unterminated string");
        char e = FText[FPos++];
        switch (e) {
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case 'x': {
          if (FPos + 2 > FText.size() || !std::isxdigit(static_cast<unsigned char>(FText[FPos])) ||
              !std::isxdigit(static_cast<unsigned char>(FText[FPos + 1])))
            Fail("bad \\x escape");
          out += static_cast<char>(std::stoi(std::string(FText.substr(FPos, 2)), nullptr, 16));
          FPos += 2;
          break;
        }
        default:
          Fail("unknown escape");
        }
      } else {
        out += c;
      }
    }
    return out;
  }

  TDescValue Value() {
    Skip();
    if (FPos >= FText.size()) Fail("value expected");
    TDescValue v;
    char c = FText[FPos];
    if (c == '"') {
      v.Kind = TDescValue::vkString;
      v.Text = String();
    } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      v.Kind = TDescValue::vkNumber;
      size_t start = FPos++;
      while (FPos < FText.size() && std::isalnum(static_cast<unsigned char>(FText[FPos])))
        ++FPos;
      v.Text = std::string(FText.substr(start, FPos - start));
      char* end = nullptr;
      long long n = std::strtoll(v.Text.c_str(), &end, 0);
      if (!end || *end) Fail("bad number " + v.Text);
      v.Text = std::to_string(n);
    } else if (c == '[') {
      v.Kind = TDescValue::vkSet;
      ++FPos;
      while (!Peek(']')) {
        v.Items.push_back(Ident());
        if (Peek(',')) ++FPos;
      }
      ++FPos;
    } else if (c == '(') {
      v.Kind = TDescValue::vkList;
      ++FPos;
      while (!Peek(')'))
        v.Items.push_back(String());
      ++FPos;
    } else if (c == '{') {
      v.Kind = TDescValue::vkBinary;
      ++FPos;
      std::string digits;
      while (!Peek('}')) {
        char h = FText[FPos++];
        if (!std::isxdigit(static_cast<unsigned char>(h))) Fail("hexadecimal digit expected");
        digits += h;
      }
      ++FPos;
      if (digits.size() % 2) Fail("odd number of hexadecimal digits");
      for (size_t i = 0; i < digits.size(); i += 2)
        v.Bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    } else if (c == '@') {
      ++FPos;
      if (Ident() != "resource") Fail("@resource expected");
      v.Kind = TDescValue::vkBinary;
      v.ResourceName = String();
    } else {
      v.Kind = TDescValue::vkIdent;
      v.Text = Ident();
    }
    return v;
  }

  TDescNode ParseObject() {
    TDescNode node;
    node.Line = FLine;
    node.Name = Ident();
    Expect(':');
    node.ClassName = Ident();
    Expect('{');
    while (!Peek('}')) {
      size_t mark = FPos;
      int markLine = FLine;
      std::string name = Ident();
      if (Peek('=')) {
        ++FPos;
        node.Props.emplace_back(name, Value());
      } else if (Peek(':')) {
        // A child object: parse it whole from its name on.
        FPos = mark;
        FLine = markLine;
        node.Children.push_back(ParseObject());
      } else {
        Fail("'=' or ':' expected after " + name);
      }
      Skip();
      if (FPos >= FText.size()) Fail("'}' expected");
    }
    ++FPos;
    return node;
  }

  std::string_view FText;
  size_t FPos = 0;
  int FLine = 1;
};

struct TFixup {
  TComponent* Target;
  const TPropInfo* Prop;
  std::string Ref;
};

class TReader {
public:
  explicit TReader(TComponent* root) : FRoot(root) {}

  void Read(const TDescNode& node) {
    FRead.push_back(FRoot);
    FRoot->ComponentState |= csLoading | csReading;
    ReadProps(FRoot, node);
    ReadChildren(FRoot, node);
    for (const auto& f : FFixups) {
      TComponent* c = FRoot->FindComponent(f.Ref);
      if (!c && FRoot->Name == f.Ref) c = FRoot;
      if (!c) throw EReadError("Component " + f.Ref + " not found");
      f.Prop->SetComponent(f.Target, c);
    }
    for (TComponent* c : FRead)
      c->ComponentState &= ~csReading;
    // Children first, the root last, each once everything has been read.
    for (size_t i = 1; i < FRead.size(); ++i)
      FRead[i]->Loaded();
    FRoot->Loaded();
  }

private:
  std::string Text(const TDescValue& v) {
    switch (v.Kind) {
    case TDescValue::vkString:
      return Utf8ToAnsi(v.Text);
    case TDescValue::vkSet: {
      std::string s = "[";
      for (size_t i = 0; i < v.Items.size(); ++i)
        s += (i ? ", " : "") + v.Items[i];
      return s + "]";
    }
    case TDescValue::vkList: {
      std::string s;
      for (size_t i = 0; i < v.Items.size(); ++i)
        s += (i ? "\r\n" : "") + Utf8ToAnsi(v.Items[i]);
      return s;
    }
    default:
      return v.Text;
    }
  }

  void ReadProps(TComponent* obj, const TDescNode& node) {
    for (const auto& [name, value] : node.Props) {
      const TPropInfo* p = obj->ClassInfo().FindProp(name);
      if (!p) throw EReadError("Property " + node.Name + "." + name + " does not exist");
      try {
        switch (p->Kind) {
        case pkEvent: {
          TNotifyEvent m = FRoot->FindMethod(value.Text);
          if (!m) throw EReadError("Method " + value.Text + " not found");
          p->SetEvent(obj, std::move(m));
          break;
        }
        case pkComponent:
          FFixups.push_back({obj, p, value.Text});
          break;
        case pkBinary: {
          if (value.Kind != TDescValue::vkBinary) throw EReadError("binary value expected");
          if (value.ResourceName.empty()) {
            p->SetBinary(obj, value.Bytes);
          } else {
            std::vector<uint8_t> data = LoadResourceBytes(value.ResourceName.c_str());
            if (data.empty()) throw EReadError("Resource " + value.ResourceName + " not found");
            // The stored form: a signed 32-bit length, then the bytes.
            uint32_t len = static_cast<uint32_t>(data.size());
            std::vector<uint8_t> stored;
            stored.reserve(data.size() + 4);
            for (int shift = 0; shift < 32; shift += 8)
              stored.push_back(static_cast<uint8_t>(len >> shift));
            stored.insert(stored.end(), data.begin(), data.end());
            p->SetBinary(obj, stored);
          }
          break;
        }
        default:
          if (!p->Set) throw EReadError("read-only");
          p->Set(obj, Text(value));
        }
      } catch (const EReadError&) {
        throw;
      } catch (const std::exception& e) {
        throw EReadError("Error reading " + node.Name + "." + name + ": " + e.what());
      }
    }
  }

  void ReadChildren(TComponent* parent, const TDescNode& node) {
    for (const TDescNode& child : node.Children) {
      const TClassInfo* info = FindClassInfo(child.ClassName);
      if (!info || !info->Create) throw EReadError("Class " + child.ClassName + " not found");
      TComponent* c = info->Create(FRoot);
      c->Name = child.Name;
      c->ComponentState |= csLoading | csReading;
      FRead.push_back(c);
      if (auto* control = dynamic_cast<TControl*>(c)) {
        if (auto* wc = dynamic_cast<TWinControl*>(parent)) control->SetParent(wc);
      } else if (auto* item = dynamic_cast<TMenuItem*>(c)) {
        if (auto* menu = dynamic_cast<TMenu*>(parent))
          menu->Items()->Add(item);
        else if (auto* up = dynamic_cast<TMenuItem*>(parent))
          up->Add(item);
      }
      FRoot->BindField(c);
      ReadProps(c, child);
      ReadChildren(c, child);
    }
  }

  TComponent* FRoot;
  std::vector<TComponent*> FRead;
  std::vector<TFixup> FFixups;
};

} // namespace

TDescNode ParseDescription(std::string_view text) {
  return TParser(text).ParseRoot();
}

void ReadComponentDescription(TComponent* root, const TDescNode& node) {
  TReader(root).Read(node);
}

void ReadComponentText(TComponent* root, std::string_view text) {
  ReadComponentDescription(root, ParseDescription(text));
}

std::vector<uint8_t> LoadResourceBytes(const char* name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_RCDATA));
  if (!res) return {};
  HGLOBAL data = LoadResource(module, res);
  DWORD size = SizeofResource(module, res);
  const auto* p = static_cast<const uint8_t*>(LockResource(data));
  if (!p) return {};
  return std::vector<uint8_t>(p, p + size);
}

void ReadComponentResource(TComponent* root, const char* name) {
  std::vector<uint8_t> bytes = LoadResourceBytes(name);
  if (bytes.empty()) throw EReadError(std::string("Resource ") + name + " not found");
  ReadComponentText(root,
                    std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
