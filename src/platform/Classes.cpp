#include "Classes.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>

[[gnu::noinline]] Exception::Exception(const std::string& Message)
    : std::runtime_error(Message), addr_(__builtin_return_address(0))
{
}

std::string ClassNameOf(const std::type_info& Type)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(Type.name(), nullptr, nullptr, &status), &std::free);
    std::string name = status == 0 && demangled ? demangled.get() : Type.name();
    // Drop namespaces: reports name the class as the program spells it.
    if (auto colon = name.rfind("::"); colon != std::string::npos)
        name.erase(0, colon + 2);
    return name;
}

void TPropertyList::Int(std::string Name, std::function<void(int)> Set)
{
    entries_.push_back({std::move(Name), Kind::Int, {}, [Set](std::int64_t v) { Set(static_cast<int>(v)); }, {}, {}, {}});
}

void TPropertyList::Bool(std::string Name, std::function<void(bool)> Set)
{
    entries_.push_back({std::move(Name), Kind::Bool, {}, [Set](std::int64_t v) { Set(v != 0); }, {}, {}, {}});
}

void TPropertyList::String(std::string Name, std::function<void(const std::string&)> Set)
{
    entries_.push_back({std::move(Name), Kind::String, {}, {}, std::move(Set), {}, {}});
}

void TPropertyList::Enum(std::string Name, std::vector<std::string> Idents, std::function<void(int)> Set)
{
    entries_.push_back({std::move(Name), Kind::Enum, std::move(Idents),
                        [Set](std::int64_t v) { Set(static_cast<int>(v)); }, {}, {}, {}});
}

void TPropertyList::Set(std::string Name, std::vector<std::string> Idents, std::function<void(unsigned)> Set)
{
    entries_.push_back({std::move(Name), Kind::Set, std::move(Idents),
                        [Set](std::int64_t v) { Set(static_cast<unsigned>(v)); }, {}, {}, {}});
}

void TPropertyList::Event(std::string Name, std::function<void(TNotifyEvent)> Set)
{
    entries_.push_back({std::move(Name), Kind::Event, {}, {}, {}, std::move(Set), {}});
}

void TPropertyList::Data(std::string Name, std::function<void(std::span<const unsigned char>)> Set)
{
    entries_.push_back({std::move(Name), Kind::Data, {}, {}, {}, {}, std::move(Set)});
}

const TPropertyList::Entry* TPropertyList::Find(std::string_view Name) const
{
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.Name == Name; });
    return it == entries_.end() ? nullptr : &*it;
}

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner)
{
    if (owner_)
        owner_->components_.push_back(this);
}

TComponent::~TComponent()
{
    DestroyComponents();
    if (owner_) {
        auto& siblings = owner_->components_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

void TComponent::DestroyComponents()
{
    while (!components_.empty())
        delete components_.back();  // its destructor unlinks it from components_
}

void TComponent::DefineProperties(TPropertyList& List)
{
    List.Int("Tag", [this](int v) { SetTag(v); });
}
