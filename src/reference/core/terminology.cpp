#include "terminology.h"

namespace Quorvath {

namespace {

using namespace Qt::StringLiterals;

// Double blanks after full stops and the blank before some line breaks belong
// to the texts.
constexpr std::array<TerminologyInfo, TerminologyCount> Table{{
    {FormId::TermItemName, "frmItemname"_L1, "Item Name"_L1,
     {4575, 885}, {4575, 855}, {4335, 495},
     "The Item Name is simply the name of the item that you have selected.\r\n"_L1},
    {FormId::TermUsableBy, "frmUsableby"_L1, "Usable By..."_L1,
     {4455, 885}, {4455, 855}, {4215, 495},
     "This indicates what class or classes of characters may use the selected item.\r\n"_L1},
    {FormId::TermEffects, "frmEffects"_L1, "Effects of Equipping..."_L1,
     {4335, 1110}, {4335, 1095}, {4095, 735},
     "This describes what effect(s) the item has on the \r\n"
     "character while it is equipped.  Note that several items \r\n"
     "have more than one ability when they are equipped.\r\n"_L1},
    {FormId::TermActivated, "frmActivated"_L1, "Activated Effects..."_L1,
     {4575, 1110}, {4575, 1095}, {4335, 735},
     "Several items require that you manually activate them in order for them to work.  "
     "This describes what function a given item has, if any, when it is so invoked.\r\n"_L1},
    {FormId::TermOneTime, "frm1time"_L1, "One-time only..."_L1,
     {4575, 885}, {4575, 855}, {4335, 495},
     "When the item is used, it vanishes from the character's inventory.\r\n"_L1},
    {FormId::TermLimited, "frmLimited"_L1, "Limited..."_L1,
     {4575, 1485}, {4575, 1455}, {4335, 1095},
     "The item has a finite number of charges in it before it can no \r\n"
     "longer be activated.  The number of times it can be used \r\n"
     "varies and is displayed beside the item in the character's \r\n"
     "inventory.  Note that depleting an item's charges does not interfere with its "
     "continuous effects, if it has any.\r\n"_L1},
    {FormId::TermMultiple, "frmMultiple"_L1, "Multiple..."_L1,
     {4575, 900}, {4575, 855}, {4335, 495},
     "This means that the item can be used over and over again infinitely.\r\n"_L1},
    {FormId::TermContinuous, "frmContinuous"_L1, "Continuous while Equipped..."_L1,
     {4590, 900}, {4575, 855}, {4335, 495},
     "This indicates that the item has no activated ability and simply functions "
     "continually while it is equipped.\r\n"_L1},
    {FormId::TermDescription, "frmDescription"_L1, "Description..."_L1,
     {4470, 1125}, {4455, 1095}, {4215, 735},
     "This is a description of the item in general.  Often contains miscellaneous notes "
     "and speculation as to the item's origin, purpose, and so on.\r\n"_L1},
}};

} // namespace

const std::array<TerminologyInfo, TerminologyCount> &terminologyTable()
{
    return Table;
}

const TerminologyInfo *terminologyInfo(FormId form)
{
    for (const TerminologyInfo &info : Table) {
        if (info.form == form)
            return &info;
    }
    return nullptr;
}

} // namespace Quorvath
