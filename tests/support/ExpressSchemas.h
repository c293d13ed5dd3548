// Schemas written for the tests of the schema reader: one that uses every
// construct of ISO 10303-11 edition 2, and small ones around it.
#ifndef QL0KRN_TESTS_ExpressSchemas_h
#define QL0KRN_TESTS_ExpressSchemas_h

namespace qtest {

// Two schemas that interface each other; the first uses every construct.
inline const char* GrammarSchemas() {
  return R"EXP((* A schema using every construct (* nested remark *) of the grammar. *)
SCHEMA grammar_check 'version 1';
  USE FROM support_schema (thing, other_thing AS renamed_thing);
  REFERENCE FROM units_schema;
  REFERENCE FROM grammar_helper (helper_entity);

CONSTANT
  max_points : INTEGER := 16;
  origin : LIST [3:3] OF REAL := [0.0, 0.0, 0.0];
  pi_half : REAL := PI / 2.0;
END_CONSTANT;

TYPE label = STRING(255); END_TYPE;
TYPE code = STRING(8) FIXED; END_TYPE;
TYPE blob = BINARY(32) FIXED; END_TYPE;
TYPE ratio = NUMBER; END_TYPE;
TYPE precise = REAL(12); END_TYPE;
TYPE flag = LOGICAL; END_TYPE;
TYPE yes = BOOLEAN; END_TYPE;
TYPE count = INTEGER;
WHERE
  positive : SELF >= 0;
  SELF < 100000;
END_TYPE;
TYPE positive_count = count; END_TYPE;
TYPE matrix = ARRAY [1:3] OF ARRAY [1:max_points] OF OPTIONAL UNIQUE REAL; END_TYPE;
TYPE names = LIST [0:?] OF UNIQUE label; END_TYPE;
TYPE colour = ENUMERATION OF (red, green, blue); END_TYPE;
TYPE more_colour = EXTENSIBLE ENUMERATION; END_TYPE;
TYPE extra_colour = ENUMERATION BASED_ON more_colour WITH (cyan, magenta); END_TYPE;
TYPE shape_or_label = SELECT (shape, label); END_TYPE;
TYPE any_shape = EXTENSIBLE GENERIC_ENTITY SELECT; END_TYPE;
TYPE some_shape = SELECT BASED_ON any_shape WITH (circle); END_TYPE;

ENTITY shape
  ABSTRACT SUPERTYPE OF (ONEOF (circle, polygon) ANDOR coloured);
  name : label;
  tags : OPTIONAL SET [0:?] OF label; -- a tail remark
  grid : BAG OF LIST [1:2] OF INTEGER;
DERIVE
  tag_count : INTEGER := SIZEOF(tags);
INVERSE
  groups : SET [0:?] OF group FOR members;
UNIQUE
  ur1 : name;
WHERE
  wr1 : EXISTS(name) AND (LENGTH(name) > 0);
  wr2 : NOT (SIZEOF(QUERY(t <* tags | t = '')) > 0);
END_ENTITY;

ENTITY coloured SUBTYPE OF (shape);
  colour_value : colour;
END_ENTITY;

ENTITY circle SUBTYPE OF (shape);
  radius : REAL;
  centre : ARRAY [1:2] OF REAL;
DERIVE
  area : REAL := PI * radius ** 2;
WHERE
  wr1 : {0.0 < radius <= 1.0E9};
  wr2 : radius >= 0.;
END_ENTITY;

ENTITY polygon SUBTYPE OF (shape);
  points : LIST [3:max_points] OF ARRAY [1:2] OF REAL;
END_ENTITY;

ENTITY coloured_circle SUBTYPE OF (coloured, circle);
  SELF\circle.radius : positive_radius;
  alpha : ratio;
END_ENTITY;

TYPE positive_radius = REAL; WHERE SELF > 0.0; END_TYPE;

ENTITY group;
  members : SET [1:?] OF shape;
  owner : OPTIONAL thing;
  alias_use : renamed_thing;
UNIQUE
  members, owner;
END_ENTITY;

ENTITY abstract_only ABSTRACT;
  x : yes;
END_ENTITY;

ENTITY old_style ABSTRACT SUPERTYPE;
END_ENTITY;

SUBTYPE_CONSTRAINT shape_kinds FOR shape;
  ABSTRACT SUPERTYPE;
  TOTAL_OVER (circle, polygon);
  ONEOF (circle, polygon);
END_SUBTYPE_CONSTRAINT;

FUNCTION ring_area (r1, r2 : REAL; pts : AGGREGATE : agg OF GENERIC : g) : REAL;
  ENTITY local_entity; v : INTEGER; END_ENTITY;
  FUNCTION inner (x : GENERIC_ENTITY) : BOOLEAN; RETURN (TRUE); END_FUNCTION;
  CONSTANT k : INTEGER := 2; END_CONSTANT;
  LOCAL
    total : REAL := 0.0;
    i, j : INTEGER;
    agg2 : BAG OF GENERIC := [];
    bits : BINARY := %0101;
    s : STRING := 'it''s';
    e : STRING := "00000041";
  END_LOCAL;
  IF r1 > r2 THEN
    total := PI * (r1 ** 2 - r2 ** 2);
  ELSE
    total := -PI * (r2 ** 2 - r1 ** 2);
  END_IF;
  REPEAT i := 1 TO HIINDEX(pts) BY 1 WHILE total < 1.0E6 UNTIL i > 100;
    IF NOT EXISTS(pts[i]) THEN SKIP; END_IF;
    CASE i OF
      1, 2 : total := total + 1;
      3 : BEGIN total := total * 2; ESCAPE; END;
      OTHERWISE : ;
    END_CASE;
  END_REPEAT;
  ALIAS p FOR pts[1]; j := 0; END_ALIAS;
  total := total + (i DIV 2) + (i MOD 2) - 1 / 3;
  IF ('GRAMMAR_CHECK.CIRCLE' IN TYPEOF(pts[1])) XOR (total :=: total) OR (total :<>: ?) THEN
    RETURN (total);
  END_IF;
  IF s LIKE 'it*' THEN total := total; END_IF;
  INSERT(agg2, 1, 0);
  agg2 := agg2 + [1:3] || circle(1.0, [0.0, 0.0]);
  e := s[1:2];
  RETURN (total);
END_FUNCTION;

PROCEDURE touch (VAR x : INTEGER; y : INTEGER);
  x := x + y;
END_PROCEDURE;

RULE unique_names FOR (shape, group);
LOCAL
  n : INTEGER := 0;
END_LOCAL;
  n := SIZEOF(shape);
WHERE
  wr1 : n >= 0;
END_RULE;

END_SCHEMA;

SCHEMA grammar_helper;
  USE FROM grammar_check (shape);
ENTITY helper_entity SUBTYPE OF (shape);
END_ENTITY;
END_SCHEMA;
)EXP";
}

}  // namespace qtest

#endif
