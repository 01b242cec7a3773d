#include "FormLoader.h"

#include <functional>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "Buttons.h"
#include "Forms.h"
#include "Resources.h"
#include "Skin.h"
#include "Timer.h"
#include "WebBrowser.h"

namespace {

using Json = nlohmann::ordered_json;

// Keys of a definition object that are not settings.
constexpr const char* kNameKey = "name";
constexpr const char* kClassKey = "class";
constexpr const char* kChildrenKey = "children";

using Factory = std::function<TComponent*(TComponent* Owner)>;

const std::map<std::string, Factory>& Classes()
{
    static const std::map<std::string, Factory> classes = {
        {"TBitBtn", [](TComponent* o) -> TComponent* { return new TBitBtn(o); }},
        {"TPanel", [](TComponent* o) -> TComponent* { return new TPanel(o); }},
        {"TSkinData", [](TComponent* o) -> TComponent* { return new TSkinData(o); }},
        {"TTimer", [](TComponent* o) -> TComponent* { return new TTimer(o); }},
        {"TWebBrowser", [](TComponent* o) -> TComponent* { return new TWebBrowser(o); }},
    };
    return classes;
}

class Reader {
public:
    Reader(TForm& Form, const std::string& ClassName) : form_(Form), className_(ClassName)
    {
        form_.Publish(published_);
    }

    void Read(const Json& Root)
    {
        if (!Root.is_object())
            throw EReadError("The definition of " + className_ + " is not an object");
        const std::string cls = RequireString(Root, kClassKey, "the form");
        if (cls != className_)
            throw EReadError("The definition is of class " + cls + ", not " + className_);
        const std::string name = RequireString(Root, kNameKey, "the form");
        form_.SetName(name);
        names_.insert(name);
        created_.clear();
        ApplySettings(form_, Root);
        ReadChildren(form_, Root);
        for (const std::string& field : published_.FieldNames())
            if (!names_.count(field))
                throw EReadError("Field " + form_.Name() + "." + field + " has no component in the definition");
        for (TComponent* c : created_)
            c->Loaded();
        form_.Loaded();
    }

private:
    static std::string RequireString(const Json& Object, const char* Key, const std::string& Where)
    {
        auto it = Object.find(Key);
        if (it == Object.end() || !it->is_string())
            throw EReadError("Missing \"" + std::string(Key) + "\" in " + Where);
        return it->get<std::string>();
    }

    void ReadChildren(TComponent& Parent, const Json& Object)
    {
        auto it = Object.find(kChildrenKey);
        if (it == Object.end())
            return;
        if (!it->is_array())
            throw EReadError("Error reading " + Parent.Name() + ": \"children\" is not a list");
        for (const Json& child : *it)
            ReadComponent(Parent, child);
    }

    void ReadComponent(TComponent& Parent, const Json& Object)
    {
        if (!Object.is_object())
            throw EReadError("Error reading " + Parent.Name() + ": a child is not an object");
        const std::string name = RequireString(Object, kNameKey, "a child of " + Parent.Name());
        const std::string cls = RequireString(Object, kClassKey, name);
        auto factory = Classes().find(cls);
        if (factory == Classes().end())
            throw EReadError("Class " + cls + " not found");
        if (!names_.insert(name).second)
            throw EReadError("A component named " + name + " already exists");

        TComponent* component = factory->second(&form_);
        component->SetName(name);
        created_.push_back(component);
        if (!published_.HasField(name))
            throw EReadError("Field " + form_.Name() + "." + name + " not found");
        if (!published_.Assign(name, component))
            throw EReadError("Field " + form_.Name() + "." + name + " is not of class " + cls);

        if (auto* control = dynamic_cast<TControl*>(component)) {
            auto* container = dynamic_cast<TWinControl*>(&Parent);
            if (!container)
                throw EReadError("Control " + name + " has no parent control: " + Parent.Name() + " holds none");
            control->SetParent(container);
        }
        ApplySettings(*component, Object);
        ReadChildren(*component, Object);
    }

    void ApplySettings(TComponent& Component, const Json& Object)
    {
        TPropertyList list;
        Component.DefineProperties(list);
        for (const auto& [key, value] : Object.items()) {
            if (key == kNameKey || key == kClassKey || key == kChildrenKey)
                continue;
            if (value.is_object()) {
                for (const auto& [sub, subValue] : value.items())
                    Apply(Component, list, key + "." + sub, subValue);
            } else {
                Apply(Component, list, key, value);
            }
        }
    }

    void Apply(TComponent& Component, const TPropertyList& List, const std::string& Name, const Json& Value)
    {
        const std::string where = "Error reading " + Component.Name() + "." + Name + ": ";
        const TPropertyList::Entry* e = List.Find(Name);
        if (!e)
            throw EReadError(where + "Property does not exist");
        using Kind = TPropertyList::Kind;
        switch (e->Type) {
        case Kind::Int:
            if (!Value.is_number_integer())
                throw EReadError(where + "Invalid property value: not a whole number");
            e->SetInt(Value.get<std::int64_t>());
            break;
        case Kind::Bool:
            if (!Value.is_boolean())
                throw EReadError(where + "Invalid property value: not true or false");
            e->SetInt(Value.get<bool>() ? 1 : 0);
            break;
        case Kind::String:
            if (!Value.is_string())
                throw EReadError(where + "Invalid property value: not a text");
            e->SetString(Value.get<std::string>());
            break;
        case Kind::Enum:
            e->SetInt(IdentIndex(*e, Value, where));
            break;
        case Kind::Set: {
            if (!Value.is_array())
                throw EReadError(where + "Invalid property value: not a list");
            unsigned mask = 0;
            for (const Json& member : Value)
                mask |= 1u << IdentIndex(*e, member, where);
            e->SetInt(mask);
            break;
        }
        case Kind::Event: {
            if (!Value.is_string())
                throw EReadError(where + "Invalid property value: not a handler name");
            TNotifyEvent handler = published_.Handler(Value.get<std::string>());
            if (!handler)
                throw EReadError(where + "Method " + Value.get<std::string>() + " not found in " + className_);
            e->SetEvent(std::move(handler));
            break;
        }
        case Kind::Data:
            if (!Value.is_string())
                throw EReadError(where + "Invalid property value: not a file name");
            e->SetData(FindEmbeddedFile(Value.get<std::string>()));
            break;
        }
    }

    static int IdentIndex(const TPropertyList::Entry& E, const Json& Value, const std::string& Where)
    {
        if (Value.is_string()) {
            for (std::size_t i = 0; i < E.Idents.size(); ++i)
                if (E.Idents[i] == Value.get<std::string>())
                    return static_cast<int>(i);
            throw EReadError(Where + "Invalid property value " + Value.get<std::string>());
        }
        throw EReadError(Where + "Invalid property value: not an identifier");
    }

    TForm& form_;
    const std::string className_;
    TPublished published_;
    std::set<std::string> names_;
    std::vector<TComponent*> created_;
};

}  // namespace

void LoadFormDefinitionText(TForm& Form, const std::string& ClassName, std::string_view Text)
{
    Json root;
    try {
        root = Json::parse(Text.begin(), Text.end());
    } catch (const Json::exception& e) {
        throw EReadError("The definition of " + ClassName + " cannot be read: " + e.what());
    }
    Reader(Form, ClassName).Read(root);
}

void LoadFormDefinition(TForm& Form, const std::string& ClassName)
{
    auto data = FindEmbeddedFile(ClassName + ".json");
    LoadFormDefinitionText(Form, ClassName,
                           std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}
