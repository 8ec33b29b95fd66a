// Object layer of the toolkit: objects with class information, published properties read and
// written by name, components with owners, names and tags, exceptions and memory streams.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TObject;
class TComponent;

// ---------------------------------------------------------------------------------------------
// Exceptions

class Exception : public std::exception {
public:
  explicit Exception(std::string message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  std::string Message;
};

// A failed assertion: message plus the unit and line that raised it.
class EAssertionFailed : public Exception {
public:
  EAssertionFailed(std::string message, std::string unit, int line)
      : Exception(std::move(message)), Unit(std::move(unit)), Line(line) {}
  std::string Unit;
  int Line;
};

// Reading a stored form description failed.
class EReadError : public Exception {
public:
  using Exception::Exception;
};

// ---------------------------------------------------------------------------------------------
// Class information and published properties

using TNotifyEvent = std::function<void(TObject* sender)>;

enum TPropKind { pkValue, pkEvent, pkComponent, pkBinary };

// One published property. Values travel as text: integers in decimal, booleans as "True" or
// "False", enumerations and sets by their value names, strings as they are.
struct TPropInfo {
  std::string Name;
  TPropKind Kind = pkValue;
  std::function<std::string(const TObject*)> Get;
  std::function<void(TObject*, const std::string&)> Set;
  std::function<void(TObject*, TNotifyEvent)> SetEvent;                 // pkEvent
  std::function<void(TObject*, TComponent*)> SetComponent;              // pkComponent
  std::function<void(TObject*, const std::vector<uint8_t>&)> SetBinary; // pkBinary: stored form
};

struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
  // Builds an instance for the stored-description reader; null for abstract classes.
  TComponent* (*Create)(TComponent* owner);
  std::vector<TPropInfo> Props;

  const TPropInfo* FindProp(std::string_view name) const; // searches the parents too
  bool InheritsFrom(std::string_view className) const;
};

// Registry of the classes the stored-description reader can create.
void RegisterClassInfo(const TClassInfo* info);
const TClassInfo* FindClassInfo(std::string_view name);

// Declares the class information of a toolkit class. Use in the public part of the class.
#define TK_DECLARE_CLASS(Class)                                                                    \
public:                                                                                            \
  static const TClassInfo& StaticClassInfo();                                                      \
  const TClassInfo& ClassInfo() const override {                                                   \
    return StaticClassInfo();                                                                      \
  }

class TObject {
public:
  virtual ~TObject() = default;
  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  const char* ClassName() const { return ClassInfo().Name; }
  // "Is an instance of": true for the class itself and every class it derives from.
  bool InheritsFrom(std::string_view className) const {
    return ClassInfo().InheritsFrom(className);
  }
};

// Property access by name. A missing property reads as "" and a write to it does nothing;
// both report whether the property exists.
bool IsPublishedProp(const TObject* obj, std::string_view name);
std::string GetPropValue(const TObject* obj, std::string_view name, bool* found = nullptr);
bool SetPropValue(TObject* obj, std::string_view name, const std::string& value);
// Integer view: a missing or non-numeric property reads as -1.
int GetOrdProp(const TObject* obj, std::string_view name);

// Helpers that build property entries from member functions.
template <class C>
TPropInfo IntProp(const char* name, int (C::*get)() const, void (C::*set)(int)) {
  TPropInfo p;
  p.Name = name;
  p.Get = [get](const TObject* o) { return std::to_string((static_cast<const C*>(o)->*get)()); };
  if (set)
    p.Set = [set](TObject* o, const std::string& v) { (static_cast<C*>(o)->*set)(std::stoi(v)); };
  return p;
}

template <class C>
TPropInfo BoolProp(const char* name, bool (C::*get)() const, void (C::*set)(bool)) {
  TPropInfo p;
  p.Name = name;
  p.Get = [get](const TObject* o) {
    return std::string((static_cast<const C*>(o)->*get)() ? "True" : "False");
  };
  if (set)
    p.Set = [set](TObject* o, const std::string& v) {
      (static_cast<C*>(o)->*set)(v == "True" || v == "true" || v == "1");
    };
  return p;
}

template <class C>
TPropInfo StrProp(const char* name, std::string (C::*get)() const,
                  void (C::*set)(const std::string&)) {
  TPropInfo p;
  p.Name = name;
  p.Get = [get](const TObject* o) { return (static_cast<const C*>(o)->*get)(); };
  if (set) p.Set = [set](TObject* o, const std::string& v) { (static_cast<C*>(o)->*set)(v); };
  return p;
}

// Rows as stored descriptions give them: lines that end in CR LF (the last may not), and back.
std::vector<std::string> SplitLines(const std::string& text);
std::string JoinLines(const std::vector<std::string>& rows);

// A property of rows ("Items", "Tabs") read and written through a getter and setter of lines.
template <class C>
TPropInfo LinesProp(const char* name, std::vector<std::string> (C::*get)() const,
                    void (C::*set)(const std::vector<std::string>&)) {
  TPropInfo p;
  p.Name = name;
  p.Get = [get](const TObject* o) { return JoinLines((static_cast<const C*>(o)->*get)()); };
  p.Set = [set](TObject* o, const std::string& v) { (static_cast<C*>(o)->*set)(SplitLines(v)); };
  return p;
}

template <class C>
TPropInfo EventProp(const char* name, TNotifyEvent C::*field) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkEvent;
  p.Get = [field](const TObject* o) {
    return std::string((static_cast<const C*>(o)->*field) ? "(bound)" : "");
  };
  p.SetEvent = [field](TObject* o, TNotifyEvent e) { static_cast<C*>(o)->*field = std::move(e); };
  return p;
}

// An event of any signature bound by name to a method that takes the sender only: the method
// runs with the sender, the other arguments are not passed on.
template <class C, class Event>
TPropInfo SenderEventProp(const char* name, Event C::*field) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkEvent;
  p.Get = [field](const TObject* o) {
    return std::string((static_cast<const C*>(o)->*field) ? "(bound)" : "");
  };
  p.SetEvent = [field](TObject* o, TNotifyEvent e) {
    if (!e) {
      static_cast<C*>(o)->*field = nullptr;
      return;
    }
    static_cast<C*>(o)->*field = [e](auto* sender, auto&&...) { e(sender); };
  };
  return p;
}

// Enumerations as value names: names[i] is the name of value i.
std::string EnumName(const std::vector<const char*>& names, int value);
int EnumValue(const std::vector<const char*>& names, const std::string& text); // throws

// An enumeration property read and written by value name; names must outlive the table.
template <class C>
TPropInfo EnumProp(const char* name, const std::vector<const char*>* names, int (C::*get)() const,
                   void (C::*set)(int)) {
  TPropInfo p;
  p.Name = name;
  p.Get = [=](const TObject* o) { return EnumName(*names, (static_cast<const C*>(o)->*get)()); };
  p.Set = [=](TObject* o, const std::string& v) {
    (static_cast<C*>(o)->*set)(EnumValue(*names, v));
  };
  return p;
}

// Parses "[a, b]" against names: bit i set for names[i].
unsigned StringToSet(const std::vector<const char*>& names, const std::string& text);
std::string SetToString(const std::vector<const char*>& names, unsigned bits);

// ---------------------------------------------------------------------------------------------
// Components

enum TOperation { opInsert, opRemove };

enum TComponentStateBit : unsigned { csLoading = 1, csDestroying = 2, csReading = 4 };

class TComponent : public TObject {
  TK_DECLARE_CLASS(TComponent)
public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string Name;
  int Tag = 0;

  TComponent* Owner() const { return FOwner; }
  const std::vector<TComponent*>& Components() const { return FComponents; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* FindComponent(std::string_view name) const;

  unsigned ComponentState = 0;
  bool Loading() const { return ComponentState & csLoading; }
  bool Destroying() const { return ComponentState & csDestroying; }

  // Runs on every component after the whole stored description has been read.
  virtual void Loaded() { ComponentState &= ~csLoading; }
  // Tells this component that another one is being removed (or inserted).
  virtual void Notification(TComponent* component, TOperation operation);
  // Watching: this component gets Notification(other, opRemove) when other goes away.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Methods a stored description may bind events to, looked up by name on its root.
  virtual TNotifyEvent FindMethod(std::string_view name) const;
  // Field binding: where the reader stores a child component of the given name.
  virtual void BindField(TComponent* component) {}

  int GetTag() const { return Tag; }
  void SetTag(int v) { Tag = v; }
  std::string GetName() const { return Name; }
  void SetName(const std::string& v) { Name = v; }

protected:
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);
  // Frees the owned components (newest first); for destructors of derived classes that must
  // free their children while their own state still exists.
  void DestroyComponents();

private:
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

// ---------------------------------------------------------------------------------------------
// Memory stream over a byte vector

class TMemoryStream {
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : FData(std::move(bytes)) {}

  std::vector<uint8_t>& Data() { return FData; }
  const std::vector<uint8_t>& Data() const { return FData; }
  size_t Size() const { return FData.size(); }
  size_t Position = 0;

  void Clear() {
    FData.clear();
    Position = 0;
  }
  size_t Read(void* buffer, size_t count);
  void Write(const void* buffer, size_t count);
  bool ReadInt32(int32_t& value) { return Read(&value, 4) == 4; }
  void WriteInt32(int32_t value) { Write(&value, 4); }
  bool LoadFromFile(const std::string& path);
  bool SaveToFile(const std::string& path) const;

private:
  std::vector<uint8_t> FData;
};

// The executable's full path, however long.
std::string ExecutablePath();
// Index just past the last path separator ("\", "/" or ":") of a path in code page 936; the
// search steps over double-byte characters, whose trail byte may be a backslash.
size_t FileNameStart(std::string_view path);

// Text conversion between the description's UTF-8 and the program's code page 936.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
