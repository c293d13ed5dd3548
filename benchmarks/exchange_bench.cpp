// Exchange files (ISO 10303-21) with the in-memory provider: reading into a
// fully resolved population, writing, a deep copy of the whole population and
// the collection of it, at 1e5 and 1e6 instances.
//
// The data is made here: a subset of the building-model schema (points,
// directions, placements, loops, faces, walls, property values carried by a
// select, relations with sets of references; single inheritance up to six
// levels deep) and a file that repeats one realistic block of 20 instances
// with shifted numbers, so that every block refers to its own instances and
// to those of the block before.  About 65 bytes an instance; reading runs on
// 1e5 instances (6.3 MB), 1e6 (65 MB) and 1.54e6 (100 MB).
//
// Counters: bytes/s of the exchange text; bytes_per_instance, the heap
// (malloc) bytes the population holds per instance after the read, blocks
// mapped on their own (the population's vector) included, the file's bytes
// excluded.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "QL0KRN.h"
#include "QL0KRNMem.h"

namespace {

// A subset of the building-model schema, with its names and attribute
// counts, so that the file is one that the readers of that schema take too.
const char kSchema[] = R"(
SCHEMA IFC4;
TYPE IfcLabel = STRING; END_TYPE;
TYPE IfcText = STRING; END_TYPE;
TYPE IfcIdentifier = STRING(255); END_TYPE;
TYPE IfcGloballyUniqueId = STRING(22) FIXED; END_TYPE;
TYPE IfcLengthMeasure = REAL; END_TYPE;
TYPE IfcReal = REAL; END_TYPE;
TYPE IfcCountMeasure = NUMBER; END_TYPE;
TYPE IfcBoolean = BOOLEAN; END_TYPE;
TYPE IfcTimeStamp = INTEGER; END_TYPE;
TYPE IfcValue = SELECT (IfcLabel, IfcText, IfcLengthMeasure, IfcCountMeasure, IfcBoolean); END_TYPE;
TYPE IfcStateEnum = ENUMERATION OF (READWRITE, READONLY, LOCKED, READWRITELOCKED, READONLYLOCKED); END_TYPE;
TYPE IfcChangeActionEnum = ENUMERATION OF (NOCHANGE, MODIFIED, ADDED, DELETED, NOTDEFINED); END_TYPE;
TYPE IfcWallTypeEnum = ENUMERATION OF (MOVABLE, PARAPET, PARTITIONING, PLUMBINGWALL, SHEAR, SOLIDWALL, STANDARD, POLYGONAL, ELEMENTEDWALL, USERDEFINED, NOTDEFINED); END_TYPE;
ENTITY IfcPersonAndOrganization; END_ENTITY;
ENTITY IfcApplication; END_ENTITY;
ENTITY IfcUnit; END_ENTITY;
ENTITY IfcProductRepresentation; END_ENTITY;
ENTITY IfcOwnerHistory; OwningUser : IfcPersonAndOrganization; OwningApplication : IfcApplication; State : OPTIONAL IfcStateEnum; ChangeAction : OPTIONAL IfcChangeActionEnum; LastModifiedDate : OPTIONAL IfcTimeStamp; LastModifyingUser : OPTIONAL IfcPersonAndOrganization; LastModifyingApplication : OPTIONAL IfcApplication; CreationDate : IfcTimeStamp; END_ENTITY;
ENTITY IfcRepresentationItem ABSTRACT SUPERTYPE; END_ENTITY;
ENTITY IfcGeometricRepresentationItem ABSTRACT SUPERTYPE SUBTYPE OF (IfcRepresentationItem); END_ENTITY;
ENTITY IfcCartesianPoint SUBTYPE OF (IfcGeometricRepresentationItem); Coordinates : LIST [1:3] OF IfcLengthMeasure; END_ENTITY;
ENTITY IfcDirection SUBTYPE OF (IfcGeometricRepresentationItem); DirectionRatios : LIST [2:3] OF IfcReal; END_ENTITY;
ENTITY IfcPlacement ABSTRACT SUPERTYPE SUBTYPE OF (IfcGeometricRepresentationItem); Location : IfcCartesianPoint; END_ENTITY;
ENTITY IfcAxis2Placement3D SUBTYPE OF (IfcPlacement); Axis : OPTIONAL IfcDirection; RefDirection : OPTIONAL IfcDirection; END_ENTITY;
ENTITY IfcObjectPlacement ABSTRACT SUPERTYPE; END_ENTITY;
ENTITY IfcLocalPlacement SUBTYPE OF (IfcObjectPlacement); PlacementRelTo : OPTIONAL IfcObjectPlacement; RelativePlacement : IfcAxis2Placement3D; END_ENTITY;
ENTITY IfcTopologicalRepresentationItem ABSTRACT SUPERTYPE SUBTYPE OF (IfcRepresentationItem); END_ENTITY;
ENTITY IfcLoop SUBTYPE OF (IfcTopologicalRepresentationItem); END_ENTITY;
ENTITY IfcPolyLoop SUBTYPE OF (IfcLoop); Polygon : LIST [3:?] OF UNIQUE IfcCartesianPoint; END_ENTITY;
ENTITY IfcFaceBound SUBTYPE OF (IfcTopologicalRepresentationItem); Bound : IfcLoop; Orientation : IfcBoolean; END_ENTITY;
ENTITY IfcFaceOuterBound SUBTYPE OF (IfcFaceBound); END_ENTITY;
ENTITY IfcFace SUBTYPE OF (IfcTopologicalRepresentationItem); Bounds : SET [1:?] OF IfcFaceBound; END_ENTITY;
ENTITY IfcRoot ABSTRACT SUPERTYPE; GlobalId : IfcGloballyUniqueId; OwnerHistory : OPTIONAL IfcOwnerHistory; Name : OPTIONAL IfcLabel; Description : OPTIONAL IfcText; END_ENTITY;
ENTITY IfcObjectDefinition ABSTRACT SUPERTYPE SUBTYPE OF (IfcRoot); END_ENTITY;
ENTITY IfcObject ABSTRACT SUPERTYPE SUBTYPE OF (IfcObjectDefinition); ObjectType : OPTIONAL IfcLabel; END_ENTITY;
ENTITY IfcProduct ABSTRACT SUPERTYPE SUBTYPE OF (IfcObject); ObjectPlacement : OPTIONAL IfcObjectPlacement; Representation : OPTIONAL IfcProductRepresentation; END_ENTITY;
ENTITY IfcElement ABSTRACT SUPERTYPE SUBTYPE OF (IfcProduct); Tag : OPTIONAL IfcIdentifier; END_ENTITY;
ENTITY IfcBuildingElement ABSTRACT SUPERTYPE SUBTYPE OF (IfcElement); END_ENTITY;
ENTITY IfcWall SUBTYPE OF (IfcBuildingElement); PredefinedType : OPTIONAL IfcWallTypeEnum; END_ENTITY;
ENTITY IfcPropertyAbstraction ABSTRACT SUPERTYPE; END_ENTITY;
ENTITY IfcProperty ABSTRACT SUPERTYPE SUBTYPE OF (IfcPropertyAbstraction); Name : IfcIdentifier; Description : OPTIONAL IfcText; END_ENTITY;
ENTITY IfcSimpleProperty ABSTRACT SUPERTYPE SUBTYPE OF (IfcProperty); END_ENTITY;
ENTITY IfcPropertySingleValue SUBTYPE OF (IfcSimpleProperty); NominalValue : OPTIONAL IfcValue; Unit : OPTIONAL IfcUnit; END_ENTITY;
ENTITY IfcPropertyDefinition ABSTRACT SUPERTYPE SUBTYPE OF (IfcRoot); END_ENTITY;
ENTITY IfcPropertySetDefinition ABSTRACT SUPERTYPE SUBTYPE OF (IfcPropertyDefinition); END_ENTITY;
ENTITY IfcPropertySet SUBTYPE OF (IfcPropertySetDefinition); HasProperties : SET [1:?] OF IfcProperty; END_ENTITY;
ENTITY IfcRelationship ABSTRACT SUPERTYPE SUBTYPE OF (IfcRoot); END_ENTITY;
ENTITY IfcRelDefines ABSTRACT SUPERTYPE SUBTYPE OF (IfcRelationship); END_ENTITY;
ENTITY IfcRelDefinesByProperties SUBTYPE OF (IfcRelDefines); RelatedObjects : SET [1:?] OF IfcObjectDefinition; RelatingPropertyDefinition : IfcPropertySetDefinition; END_ENTITY;
END_SCHEMA;
)";

// One block of 20 instances numbered from b + 1; prev + 1 .. prev + 20 is
// the block before (prev < 0 for the first block, which has none); #user
// and #app are the owning user and application, made once for the file.
void Block(std::string& out, long b, long prev, long user, long app) {
  char line[320];
  auto n = [&](int i) { return b + i; };
  auto gid = [&](int i) {
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";
    std::string g(22, '0');
    unsigned long v = static_cast<unsigned long>(b * 31 + i);
    for (int k = 21; k >= 0 && v; --k, v >>= 6) g[k] = digits[v & 63];
    return g;
  };
  const double x = static_cast<double>(b % 1000) * 0.125;
  auto put = [&](int written) { out.append(line, static_cast<std::size_t>(written)); };
  put(std::snprintf(line, sizeof line, "#%ld=IFCOWNERHISTORY(#%ld,#%ld,$,.ADDED.,$,$,$,%ld);\n", n(1), user, app,
                    1700000000 + b % 100000));
  put(std::snprintf(line, sizeof line, "#%ld=IFCCARTESIANPOINT((%.3f,%.3f,0.));\n", n(2), x, x + 2.5));
  put(std::snprintf(line, sizeof line, "#%ld=IFCCARTESIANPOINT((%.3f,0.,3.05));\n", n(3), x + 0.3));
  put(std::snprintf(line, sizeof line, "#%ld=IFCCARTESIANPOINT((0.,%.4f,3.05));\n", n(4), x * 1.5));
  put(std::snprintf(line, sizeof line, "#%ld=IFCCARTESIANPOINT((%.2f,%.2f,%.2f));\n", n(5), x, x, x));
  put(std::snprintf(line, sizeof line, "#%ld=IFCDIRECTION((0.,0.,1.));\n", n(6)));
  put(std::snprintf(line, sizeof line, "#%ld=IFCDIRECTION((1.,0.,0.));\n", n(7)));
  put(std::snprintf(line, sizeof line, "#%ld=IFCAXIS2PLACEMENT3D(#%ld,#%ld,#%ld);\n", n(8), n(2), n(6), n(7)));
  if (prev < 0) {
    put(std::snprintf(line, sizeof line, "#%ld=IFCLOCALPLACEMENT($,#%ld);\n", n(9), n(8)));
  } else {
    put(std::snprintf(line, sizeof line, "#%ld=IFCLOCALPLACEMENT(#%ld,#%ld);\n", n(9), prev + 9, n(8)));
  }
  put(std::snprintf(line, sizeof line, "#%ld=IFCPOLYLOOP((#%ld,#%ld,#%ld,#%ld));\n", n(10), n(2), n(3), n(4), n(5)));
  put(std::snprintf(line, sizeof line,
                    "#%ld=IFCWALL('%s',#%ld,'Basic Wall:Exterior - 300mm:%ld',$,'Basic Wall:Exterior - 300mm',#%ld,$,'%ld',.STANDARD.);\n",
                    n(11), gid(11).c_str(), n(1), b, n(9), 100000 + b));
  put(std::snprintf(line, sizeof line, "#%ld=IFCWALL('%s',#%ld,'Basic Wall:Interior - 100mm:%ld',$,$,#%ld,$,$,$);\n",
                    n(12), gid(13).c_str(), n(1), b, n(9)));
  put(std::snprintf(line, sizeof line, "#%ld=IFCPROPERTYSINGLEVALUE('Reference',$,IFCLABEL('Exterior - 300mm'),$);\n", n(13)));
  put(std::snprintf(line, sizeof line, "#%ld=IFCPROPERTYSINGLEVALUE('Width',$,IFCLENGTHMEASURE(%.1f),$);\n", n(14), 300.0 + static_cast<double>(b % 7)));
  put(std::snprintf(line, sizeof line, "#%ld=IFCPROPERTYSINGLEVALUE('Layers','Number of layers',IFCCOUNTMEASURE(%ld.),$);\n", n(15), b % 5 + 1));
  put(std::snprintf(line, sizeof line, "#%ld=IFCPROPERTYSINGLEVALUE('IsExternal',$,IFCBOOLEAN(.T.),$);\n", n(16)));
  put(std::snprintf(line, sizeof line, "#%ld=IFCPROPERTYSET('%s',#%ld,'Pset_WallCommon',$,(#%ld,#%ld,#%ld,#%ld));\n",
                    n(17), gid(17).c_str(), n(1), n(13), n(14), n(15), n(16)));
  if (prev < 0) {
    put(std::snprintf(line, sizeof line, "#%ld=IFCRELDEFINESBYPROPERTIES('%s',#%ld,$,$,(#%ld,#%ld),#%ld);\n", n(18),
                      gid(18).c_str(), n(1), n(11), n(12), n(17)));
  } else {
    put(std::snprintf(line, sizeof line, "#%ld=IFCRELDEFINESBYPROPERTIES('%s',#%ld,$,$,(#%ld,#%ld,#%ld),#%ld);\n", n(18),
                      gid(18).c_str(), n(1), n(11), n(12), prev + 11, n(17)));
  }
  put(std::snprintf(line, sizeof line, "#%ld=IFCFACEOUTERBOUND(#%ld,.T.);\n", n(19), n(10)));
  put(std::snprintf(line, sizeof line, "#%ld=IFCFACE((#%ld));\n", n(20), n(19)));
}

std::string MakeFile(long instances) {
  std::string out =
      "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION(('generated'),'2;1');\n"
      "FILE_NAME('bench.p21','',(''),(''),'','','');\nFILE_SCHEMA(('IFC4'));\nENDSEC;\nDATA;\n";
  out.reserve(static_cast<std::size_t>(instances) * 95);
  // The user and the application follow the blocks: every owner history
  // refers forward to them.
  const long user = (instances + 19) / 20 * 20 + 1;
  for (long b = 0; b < instances; b += 20) Block(out, b, b == 0 ? -1 : b - 20, user, user + 1);
  out += "#" + std::to_string(user) + "=IFCPERSONANDORGANIZATION();\n#" + std::to_string(user + 1) +
         "=IFCAPPLICATION();\nENDSEC;\nEND-ISO-10303-21;\n";
  return out;
}

ZORQelIModeler Schema() {
  std::vector<ZORQelIModeler> schemas;
  std::vector<ZORQelIMemDiagnostic> messages;
  if (ZORQelIMemWrapper::Default().LoadSchemasText(kSchema, "bench.exp", schemas, messages) !=
      ZORQelI::Itrue) {
    std::fprintf(stderr, "%s\n", messages.empty() ? "?" : messages[0].Text().c_str());
    std::abort();
  }
  return schemas.at(0);
}

const std::string& FileOf(long instances) {
  static std::map<long, std::string> files;
  std::string& f = files[instances];
  if (f.empty()) {
    f = MakeFile(instances);
    // For the comparison with other readers: QL0KRN_EXCHANGE_DUMP=DIR writes
    // the file made to DIR/bench_N.ifc.
    if (const char* dir = std::getenv("QL0KRN_EXCHANGE_DUMP")) {
      std::string path = std::string(dir) + "/bench_" + std::to_string(instances) + ".ifc";
      if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(f.data(), 1, f.size(), out);
        std::fclose(out);
      }
    }
  }
  return f;
}

std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

void ReadOnce(ZORQelIModeler& m, const std::string& file) {
  ZORQelIMemExchangeResult r = ZORQelIMemExchangeReader::Read(m, file.data(), file.size());
  if (!r.ok) {
    std::fprintf(stderr, "%s\n", r.diagnostics.empty() ? "?" : r.diagnostics[0].Text().c_str());
    std::abort();
  }
}

void BM_Read(benchmark::State& state) {
  const std::string& file = FileOf(state.range(0));
  double perInstance = 0;
  for (auto _ : state) {
    state.PauseTiming();
    {
      ZORQelIModeler m = Schema();
      ZORQelIVariable::GarbageCollect();
      const std::size_t before = HeapInUse();
      state.ResumeTiming();
      ReadOnce(m, file);
      state.PauseTiming();
      perInstance = static_cast<double>(HeapInUse() - before) /
                    static_cast<double>(m.GetInstances().Size());
    }
    ZORQelIVariable::GarbageCollect();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
  state.counters["bytes_per_instance"] = perInstance;
  state.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
}
BENCHMARK(BM_Read)->Arg(100000)->Arg(1000000)->Arg(1540000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Write(benchmark::State& state) {
  const std::string& file = FileOf(state.range(0));
  ZORQelIModeler m = Schema();
  ReadOnce(m, file);
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string out = ZORQelIMemExchangeWriter::Write(m);
    bytes += out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_Write)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeepCopy(benchmark::State& state) {
  const std::string& file = FileOf(state.range(0));
  ZORQelIModeler m = Schema();
  ReadOnce(m, file);
  ZORQelIInstanceListUnique source;
  ZORQelIInstances pop = m.GetInstances();
  for (int i = 0, n = pop.Size(); i < n; ++i) source.Add(pop.Get(i));
  for (auto _ : state) {
    state.PauseTiming();
    {
      ZORQelIModeler target = Schema();
      ZORQelIInstanceListUnique copy;
      copy.SetTargetModeler(target);
      state.ResumeTiming();
      copy.Copy(source);
      state.PauseTiming();
      if (copy.Size() != source.Size()) std::abort();
    }
    ZORQelIVariable::GarbageCollect();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * source.Size()));
  // Past the timed loop: the source goes before the next case.
  source.Clear();
  ZORQelIVariable::GarbageCollect();
}
BENCHMARK(BM_DeepCopy)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CollectPopulation(benchmark::State& state) {
  const std::string& file = FileOf(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    ZORQelIVariable::GarbageCollect();  // what earlier runs left
    {
      ZORQelIModeler m = Schema();
      ReadOnce(m, file);
    }
    state.ResumeTiming();
    ZORQelIVariable::GarbageCollect();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * state.range(0)));
}
BENCHMARK(BM_CollectPopulation)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
