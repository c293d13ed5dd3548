// An installed-package client of the in-memory provider: a schema, one
// instance, its text.
#include <iostream>
#include <string>

#include "QL0KRN.h"
#include "QL0KRNMem.h"

int main() {
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("Drawing");
  ZORQelIEntity figure = m.MakeEntity("Figure");
  ZORQelIAttr name = figure.CreateAttr("name", m.MakeString(), ZORQelI::Ifalse);
  ZORQelIInstance f = m.Instanciate(ZORQelI::string("Figure"));
  f.PutAttr(name, m.InstanciateString().PutString("outline"));
  ZORQelIExpressForm printer;
  printer.Print(m.GetInstances());
  const std::string text = static_cast<const char*>(printer.Get());
  std::cout << "mem client " << text << "\n";
  return text == "#1=Figure('outline');\n" ? 0 : 1;
}
