// OutputView is everything the controller TfrmOutput needs of its main
// window, as plain operations on elements addressed by their documented
// names ("pnlStato1", "Control1", "tbDataIn", "udResi", "act05Verify" ...).
// The Qt window implements it (ui/QtOutputView); tests use a recording view;
// the batch runner a console one. The controller decides everything; a view
// only shows and reports what the operator did.
//
// An up-down is reached by either of its names ("udResi" or "tbResi").
// Actions are elements too: enabling an action enables what shows it.
// Messages to the operator go through the ModalMessageBox base.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ModalMessageBox.h"

class MySqlDataSource;

class OutputView : public ModalMessageBox {
public:
    enum class Colour { ButtonFace, ButtonHighlight, Yellow, Window };

    struct SaveDialogRequest {
        std::u16string title;  // empty: the dialog's own
        std::u16string initialFolder;
        std::u16string filter;  // "Descrizione (*.NST)|*.NST|..." pairs
        int filterIndex = 1;    // counted from 1
        std::u16string defaultExtension;
        std::u16string fileName;
    };

    struct Geometry {
        int screenWidth = 0;
        int screenHeight = 0;
        int windowWidth = 0;
        int windowHeight = 0;
    };

    // Elements.
    virtual bool hasElement(std::string_view name) const = 0;
    virtual void setText(std::string_view name, const std::u16string& text) = 0;
    virtual std::u16string text(std::string_view name) const = 0;
    virtual void setEnabled(std::string_view name, bool enabled) = 0;
    virtual bool isEnabled(std::string_view name) const = 0;
    virtual void setVisible(std::string_view name, bool visible) = 0;
    virtual void setColour(std::string_view name, Colour colour) = 0;
    virtual void setReadOnly(std::string_view name, bool readOnly) = 0;
    virtual void setBold(std::string_view name, bool bold) = 0;
    virtual void setFocus(std::string_view name) = 0;
    virtual bool isChecked(std::string_view name) const = 0;
    virtual void setChecked(std::string_view name, bool checked) = 0;
    // Up-downs.
    virtual int position(std::string_view name) const = 0;
    virtual void setPosition(std::string_view name, int position) = 0;
    // Combo boxes.
    virtual int itemIndex(std::string_view name) const = 0;
    virtual void setItemIndex(std::string_view name, int index) = 0;
    virtual std::u16string itemText(std::string_view name, int index) const = 0;
    // Page control: makes the named page the active one.
    virtual void setActivePage(std::string_view page) = 0;
    // Progress bars.
    virtual void setProgress(std::string_view name, int position, int maximum) = 0;
    // Grids and the navigator show the rows of a data source (nullptr: none).
    virtual void bindGrid(std::string_view name, MySqlDataSource* source) = 0;

    // The window.
    virtual void setTitle(const std::u16string& title) = 0;
    virtual void setStatusText(const std::u16string& text) = 0;
    virtual void addMonitorLine(const std::u16string& line) = 0;
    virtual Geometry geometry() const = 0;
    virtual void moveWindow(int top, int left) = 0;
    // The save dialog; nothing when the operator cancels.
    virtual std::optional<std::u16string> askSaveFileName(const SaveDialogRequest& request) = 0;
    // Lets the window handle what is pending (long loops call it per record).
    virtual void processEvents() = 0;
    // Asks the application to end once the current handler returns.
    virtual void terminate() = 0;
};
