#include "logic/formulas/ReadyMadeFormulas.h"

#include <algorithm>

#include "logic/formulas/Parser.h"
#include "resources/TxtFormulas.h"

namespace kinovia {
namespace {

template <class T>
bool Has(const std::vector<T>& list, const std::string& name) {
  return std::any_of(list.begin(), list.end(),
                     [&](const T& item) { return EqualsIgnoringCase(item.identifier, name); });
}

void AddVariable(FormulaSet& set, UserFormula formula) {
  if (!Has(set.formulas, formula.identifier)) set.formulas.push_back(std::move(formula));
}

void AddConstants(FormulaSet& set, const std::string& suffix, bool withG) {
  if (!Has(set.constants, "m" + suffix))
    set.constants.push_back({"m" + suffix, "", "0,1", Txt(txt::FormulaUnitKilogram)});
  if (withG && !Has(set.constants, "g"))
    set.constants.push_back({"g", "", "9,81", Txt(txt::FormulaUnitAcceleration)});
}

}  // namespace

void AddReadyMade(FormulaSet& set, ReadyMade what, const std::string& s, bool yUp) {
  const std::string joule = Txt(txt::FormulaUnitJoule);
  switch (what) {
    case ReadyMade::KineticEnergy:
      AddConstants(set, s, false);
      AddVariable(set,
                  {"Ec" + s, "0,5*m" + s + "*v" + s + "^2", Txt(txt::FormulaKineticEnergy), joule});
      break;
    case ReadyMade::PotentialEnergy:
      AddConstants(set, s, true);
      AddVariable(set, {"Ep" + s, (yUp ? "m" : "-m") + s + "*g*y" + s,
                        Txt(txt::FormulaPotentialEnergy), joule});
      break;
    case ReadyMade::MechanicalEnergy:
      AddReadyMade(set, ReadyMade::KineticEnergy, s, yUp);
      AddReadyMade(set, ReadyMade::PotentialEnergy, s, yUp);
      AddVariable(set, {"Em" + s, "Ec" + s + "+Ep" + s, Txt(txt::FormulaMechanicalEnergy), joule});
      break;
    case ReadyMade::Momentum:
      AddConstants(set, s, false);
      AddVariable(set, {"p" + s, "m" + s + "*v" + s, Txt(txt::FormulaMomentum),
                        Txt(txt::FormulaUnitMomentum)});
      break;
  }
}

}  // namespace kinovia
