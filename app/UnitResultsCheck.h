#pragma once
// The checks made before the results window opens: each refusal, question or advice in the order
// the user meets them.
#include <vector>

#include "resources/UnitMessage.h"
#include "session/UnitSessionPorts.h"

namespace kinovia {

struct TResultsFacts {
  TWorkMode mode = TWorkMode::RepereFixe;
  bool scaleValid = false;
  std::vector<int> marksPerObject;  // fixed frame: one count per object
  bool originPlaced = false;
  int transparentMarks = 0;
  // The naming option is on, an object keeps its default name and the advice was not switched off.
  bool adviseNaming = false;
};

enum class TResultsStep {
  Refuse,        // show the message and stop
  AskContinue,   // "Cancelar" stops, "Continuar" goes on
  AdviseNaming,  // "Dar un nombre" names the objects, "Cancelar" stops, "Ignorar" goes on
};

struct TResultsCheck {
  TResultsStep step = TResultsStep::Refuse;
  TMessage message;
};

// The messages to show in order; when the last one is a refusal the results do not open.
std::vector<TResultsCheck> ResultsChecks(const TResultsFacts& facts);

// Until the results window exists, the message that says the table was computed.
TMessage ResultsComputedMessage(int rows, int columns);

}  // namespace kinovia
