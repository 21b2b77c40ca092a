#include "shell/main_menu.h"

namespace qx {

const std::vector<MenuItemSpec> &MainMenuItems()
{
    static const std::vector<MenuItemSpec> items{
        {"Memu_File", "File", nullptr, true, true, true},
        {"SaveFluke1", "Save Fluke", "Memu_File", false, false, false},
        {"SaveReg1", "Save Reg", "Memu_File", false, false, false},
        {"SavePower1", "Save Power", "Memu_File", false, false, false},
        {"DownLoadFluke1", "DownLoad Fluke", "Memu_File", false, false, false},
        {"DownloadReg1", "Download Reg", "Memu_File", false, false, false},
        {"DownloadPower1", "Download Power", "Memu_File", false, false, false},
        {"Menu_Option", "Option", nullptr, true, false, false},
        {"SMenu_Option", "Setup", "Menu_Option", false, false, false},
        {"SMenu_RAM", "RAM Panel", "Menu_Option", false, false, false},
        {"SMenu_REG", "REG Panel", "Menu_Option", false, false, false},
        {"SMenu_ADCCLK", "CLK Panel", "Menu_Option", false, false, false},
        {"SMenu_LCDPANEL", "Resister", "Menu_Option", false, true, false},
        {"SMenu_Procounter", "ProCounter Panel", "Menu_Option", false, false, false},
        {"ResistorCAL1", "Resistor CAL.", "Menu_Option", false, true, false},
        {"DMMAP", "MAP", "Menu_Option", false, false, false},
        {"DMMADS", "ADS", "Menu_Option", false, false, false},
        {"DMMADF", "ADF", "Menu_Option", false, false, false},
        {"DMMOP", "OP and Power", "Menu_Option", false, false, false},
        {"USBScan", "USB Scan", nullptr, false, false, false},
        {"Menu_ReadRAM", "Read RAM", nullptr, false, false, false},
        {"SETDMM1", "SETDMM", nullptr, false, false, false},
        {"Menu_ReadAdc", "ENOB Test", nullptr, false, false, false},
        {"SLEEP1", "SLEEP", nullptr, false, true, false},
        {"MCALW", "Switch Test", nullptr, false, true, false},
        {"RestoreADC", "Restore ADC", nullptr, false, true, false},
        {"Regist", "連續讀取", nullptr, false, true, true},
        {"Fluke1", "Fluke", nullptr, false, true, true},
        {"Power1", "Power", nullptr, false, true, true},
        {"BryMenShow1", "BryMen Show", nullptr, false, true, false},
        {"Menu_INTF", "INTF", nullptr, false, false, false},
    };
    return items;
}

} // namespace qx
