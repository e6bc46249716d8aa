#include "commands/text_commands.h"

namespace ruvelto::core_commands {

const CommandSlot kTextNumberTimeCommands[28] = {
    {0, "ToText", ToText},
    {1, "ToInteger", ToInteger},
    {3, "TextLength", TextLength},
    {4, "FindTextBackward", FindTextBackward},
    {5, "RightText", RightText},
    {6, "ToByte", ToByte},
    {15, "TimeToText", TimeToText},
    {18, "FindText", FindText},
    {19, "LeftText", LeftText},
    {21, "BitOr", BitOr},
    {22, "SpaceText", SpaceText},
    {23, "TrimBoth", TrimBoth},
    {30, "ToLowerCase", ToLowerCase},
    {31, "ReplaceSubtext", ReplaceSubtext},
    {32, "MiddleText", MiddleText},
    {33, "SplitText", SplitText},
    {34, "ToByteSet", ToByteSet},
    {38, "SetRandomSeed", SetRandomSeed},
    {39, "GetRandom", GetRandom},
    {41, "ByteSetLength", ByteSetLength},
    {42, "FindBytes", FindBytes},
    {43, "MiddleBytes", MiddleBytes},
    {44, "ToHexText", ToHexText},
    {45, "LeftBytes", LeftBytes},
    {46, "BitAnd", BitAnd},
    {47, "ShiftRight", ShiftRight},
    {48, "BitXor", BitXor},
    {49, "BitNot", BitNot},
};

}  // namespace ruvelto::core_commands
