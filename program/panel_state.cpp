#include "program/panel_state.h"

const char kDescriptionPlaceholder[] = "Enter description here";

PanelState::PanelState() {
    readDescription.enabled = true;
    readDescription.visible = false;
    writeDescription.enabled = true;
    writeDescription.visible = false;
}

void PanelState::ShowWritePanel(const std::string& path) {
    writePath.text = path;
    writeDescription.text.clear();
    writeFormat.text.clear();
    writePath.enabled = true;
    writeStart.enabled = true;
    writeDescription.visible = false;
    readPath.text.clear();
    readDescription.text.clear();
    readPath.enabled = false;
    readStart.enabled = false;
    readDescription.visible = false;
}

void PanelState::ShowReadPanel(const std::string& path) {
    writePath.text.clear();
    writeDescription.text.clear();
    writeFormat.text.clear();
    writePath.enabled = false;
    writeStart.enabled = false;
    writeDescription.visible = false;
    readPath.text = path;
    if (!readDescription.visible) readDescription.text = kDescriptionPlaceholder;
    readPath.enabled = true;
    readStart.enabled = true;
    readDescription.visible = true;
}

void PanelState::ShowImageDescription(const std::string& description) {
    writeDescription.text = description;
    writeDescription.visible = true;
}

void PanelState::ShowImageFormat(const std::string& name) {
    writeFormat.text = name;
}

PanelState::Active PanelState::active() const {
    if (readStart.enabled) return Active::Read;
    if (writeStart.enabled) return Active::Write;
    return Active::None;
}
