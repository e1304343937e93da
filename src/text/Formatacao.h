// Formatacao.h - the character-mode and layout tags: bold, underline, double
// width, condensed, double height, extra large, normal, centring, right
// alignment, line feed and tab. Each is a fixed command (TagFixa.cpp); the
// commands are in Formatacao.cpp.
#pragma once

#include "text/TagFixa.h"

// clang-format off
class Negrito : public TagFixa<ProtocolGeneric> { public: Negrito(); };              // <b>
class Sublinhar : public TagFixa<ProtocolGeneric> { public: Sublinhar(); };          // <s>
class Expandido : public TagFixa<ProtocolGeneric> { public: Expandido(); };          // <e>
class Condensado : public TagFixa<ProtocolGeneric> { public: Condensado(); };        // <c>
class DuplaAltura : public TagFixa<ProtocolGeneric> { public: DuplaAltura(); };      // <da>
class ExtraGrande : public TagFixa<ProtocolGeneric> { public: ExtraGrande(); };      // <xl>
class Normal : public TagFixa<ProtocolGeneric> { public: Normal(); };                // <n>
class Centralizar : public TagFixa<ProtocolTagGeneric> { public: Centralizar(); };   // <ce>
class AlinharDireita : public TagFixa<ProtocolTagGeneric> { public: AlinharDireita(); };  // <ad>
class PularUmaLinha : public TagFixa<ProtocolGeneric> { public: PularUmaLinha(); };  // <l></l>
class Tabulacao : public TagFixa<ProtocolGeneric> { public: Tabulacao(); };          // <tb>
// clang-format on
