// Top-level windows built from a form definition.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "Controls.h"

namespace backend {
class FormPeer;
}

// What a form class exposes to its definition: the member each named
// component is stored in, and the handlers events may be bound to by name.
class TPublished {
public:
    template <class T>
    void Field(const std::string& Name, T*& Member)
    {
        fields_[Name] = [&Member](TComponent* c) {
            auto* typed = dynamic_cast<T*>(c);
            if (c && !typed)
                return false;
            Member = typed;
            return true;
        };
    }

    template <class Form>
    void Method(const std::string& Name, void (Form::*Handler)(TObject*), Form* Self)
    {
        methods_[Name] = [Self, Handler](TObject* Sender) { (Self->*Handler)(Sender); };
    }

    // Stores Component in the member named Name; false when there is no
    // such member or it is of another class.
    bool Assign(const std::string& Name, TComponent* Component) const;
    bool HasField(const std::string& Name) const { return fields_.count(Name) != 0; }
    std::vector<std::string> FieldNames() const;
    // The handler named Name, or an empty function when there is none.
    TNotifyEvent Handler(const std::string& Name) const;

private:
    std::map<std::string, std::function<bool(TComponent*)>> fields_;
    std::map<std::string, TNotifyEvent> methods_;
};

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string Value);
    int ClientWidth() const { return Width(); }
    int ClientHeight() const { return Height(); }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    unsigned BorderIcons() const { return borderIcons_; }  // bits of TBorderIcon

    TNotifyEvent OnCreate;

    void Show();
    void Close();
    // Runs OnCreate; an error raised there is reported and construction goes on.
    void DoCreate();

    // The members and handlers this form class exposes to its definition.
    virtual void Publish(TPublished& P);

    void DefineProperties(TPropertyList& List) override;

    // Called when the window has been closed.
    std::function<void()> OnClosed;

private:
    backend::FormPeer& FormPeer() const;
    void ApplyFont();

    std::string caption_;
    TBorderStyle borderStyle_ = bsSizeable;
    unsigned borderIcons_ = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
    std::string fontName_ = "MS Sans Serif";
    int fontHeight_ = -11;
    unsigned fontStyle_ = 0;  // bits of TFontStyle
};
