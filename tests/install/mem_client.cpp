// An installed-package client of the in-memory provider: a schema, one
// instance, its text; then the same text through a value reader of the
// client's own (ZORQelIExpressFormValues.h), and through the handles again.
#include <iostream>
#include <string>
#include <typeinfo>

#include "QL0KRN.h"
#include "QL0KRNMem.h"

namespace {
bool Shout(const ZORQelIObjectIMP*, const ZORQelIObjectIMP*, int position,
           ZORQelIExpressFormValues::Value& v) {
  v.kind = ZORQelIExpressFormValues::Value::String;
  v.text = position == 0 ? "OUTLINE" : "?";
  return true;
}

std::string Text(const ZORQelIModeler& m) {
  ZORQelIExpressForm printer;
  printer.Print(m.GetInstances());
  return static_cast<const char*>(printer.Get());
}
}  // namespace

int main() {
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("Drawing");
  ZORQelIEntity figure = m.MakeEntity("Figure");
  ZORQelIAttr name = figure.CreateAttr("name", m.MakeString(), ZORQelI::Ifalse);
  ZORQelIInstance f = m.Instanciate(ZORQelI::string("Figure"));
  f.PutAttr(name, m.InstanciateString().PutString("outline"));
  const std::string text = Text(m);
  ZORQelIExpressFormValues::Register(typeid(ZORQelIMemEntityInstanceIMP), &Shout);
  const std::string read = Text(m);
  ZORQelIExpressFormValues::Register(typeid(ZORQelIMemEntityInstanceIMP), nullptr);
  const std::string handles = Text(m);
  std::cout << "mem client " << text << read << handles;
  return text == "#1=Figure('outline');\n" && read == "#1=Figure('OUTLINE');\n" && handles == text
             ? 0
             : 1;
}
