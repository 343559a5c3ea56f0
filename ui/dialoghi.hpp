#pragma once
// The game's dialogs over its window: the input box, the message boxes and the wait for the
// record directory's lock, each returning when the player has answered.

#include "core/finestra.hpp"

#include <functional>
#include <string>
#include <string_view>

class QWidget;

namespace ui {

// `genitore` is the game window while it is shown, or null before it is.
std::string chiediTesto(QWidget* genitore, std::string_view domanda);
core::Risposta avvisa(QWidget* genitore, std::string_view testo, core::Pulsanti pulsanti,
                      std::string_view titolo, std::string_view dettaglio);
// As core::Finestra::attendi.
bool attendi(QWidget* genitore, const std::function<bool()>& prova, std::string_view inAttesa,
             std::string_view bloccata);

} // namespace ui
