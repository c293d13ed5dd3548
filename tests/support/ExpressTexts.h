// Texts of the worked examples that the EXPRESS form and the demonstration
// tests both compare against.
#ifndef QL0KRN_TESTS_ExpressTexts_h
#define QL0KRN_TESTS_ExpressTexts_h

namespace qtest {

// The schema text of the Drawing schema: Figure(name), Polyline subtype of
// Figure (points, tags, closed).
inline const char* const kDrawingText =
    "Schema Drawing;\n"
    "\n"
    "    Entity Figure;\n"
    "    \n"
    "        name : String;\n"
    "        \n"
    "    End_Entity (*Figure*);\n"
    "    Entity Polylinesubtype of (  Figure );\n"
    "    \n"
    "        points : Array [1:8]of optional Real;\n"
    "        tags : Set of String(16) Fixed ;\n"
    "        closed : Boolean Optional;\n"
    "        \n"
    "    End_Entity (*Polyline*);\n"
    "    \n"
    "End_Schema (*Drawing*);\n";

// The wrapper block of a provider named Store with the capabilities
// Instances and Expression.
inline const char* const kStoreText =
    "Wrapper Store;\n"
    "\n"
    "    Instances := true;\n"
    "    PersistantInstances := false;\n"
    "    EditableDictionnary := false;\n"
    "    PersistantDictionnary := false;\n"
    "    Expression := true;\n"
    "    \n"
    "End_Wrapper (*Store*);\n";

}  // namespace qtest

#endif
