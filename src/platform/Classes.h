// The component model: objects, components that own components, the
// settings a component publishes to the form loader, and the errors the
// platform raises.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
};

// An event handler: a method of the form bound to the event by name.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Base of every error the platform raises. what() is the message shown to
// the user; ExceptAddr() is where it was raised, for the last-chance report.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& Message);
    const void* ExceptAddr() const { return addr_; }

private:
    const void* addr_;
};

// The form definition is malformed or names something that does not exist.
class EReadError : public Exception {
    using Exception::Exception;
};

// The system refused a resource (a display, a timer).
class EOutOfResources : public Exception {
    using Exception::Exception;
};

// The web view refused an address.
class EWebBrowserError : public Exception {
    using Exception::Exception;
};

// The unqualified, demangled name of a class, as error reports show it.
std::string ClassNameOf(const std::type_info& Type);

// The settings a component accepts from a form definition, by name, each
// with its kind and the setter that applies it.
class TPropertyList {
public:
    enum class Kind { Int, Bool, String, Enum, Set, Event, Data };

    struct Entry {
        std::string Name;
        Kind Type;
        std::vector<std::string> Idents;  // Enum values / Set members, in order
        std::function<void(std::int64_t)> SetInt;  // Int, Bool, Enum (index), Set (bit mask)
        std::function<void(const std::string&)> SetString;
        std::function<void(TNotifyEvent)> SetEvent;
        std::function<void(std::span<const unsigned char>)> SetData;  // an embedded file
    };

    void Int(std::string Name, std::function<void(int)> Set);
    void Bool(std::string Name, std::function<void(bool)> Set);
    void String(std::string Name, std::function<void(const std::string&)> Set);
    void Enum(std::string Name, std::vector<std::string> Idents, std::function<void(int)> Set);
    void Set(std::string Name, std::vector<std::string> Idents, std::function<void(unsigned)> Set);
    void Event(std::string Name, std::function<void(TNotifyEvent)> Set);
    void Data(std::string Name, std::function<void(std::span<const unsigned char>)> Set);

    const Entry* Find(std::string_view Name) const;

private:
    std::vector<Entry> entries_;
};

// A component owns the components created with it as owner and destroys
// them, last created first, when it is destroyed.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int Index) const { return components_.at(Index); }

    const std::string& Name() const { return name_; }
    void SetName(std::string Value) { name_ = std::move(Value); }
    int Tag() const { return tag_; }
    void SetTag(int Value) { tag_ = Value; }

    // Settings the form loader may apply; subclasses add theirs to the base's.
    virtual void DefineProperties(TPropertyList& List);
    // Called once the whole definition has been read.
    virtual void Loaded() {}

protected:
    // Destroys the owned components now, before the owner's own teardown.
    void DestroyComponents();

private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
    std::string name_;
    int tag_ = 0;
};
