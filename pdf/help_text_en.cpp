#include "pdf/help_text.h"

namespace velkor {
namespace {

constexpr const wchar_t* kLines[] = {
    L"# What Velkor does",
    L"Velkor checks whether a USB stick, a memory card or another drive really holds as much as it claims, and whether it gives your data back unchanged. It fills the free space with ordinary test files, then reads every block back from the drive and compares it with what was written.",
    L"At the end Velkor shows how much was written and how much was read back without errors, how many errors occurred, how reliable the drive is and how fast it was. Only what was actually read back from the drive and compared counts as verified.",
    L"# What Velkor never does",
    L"- It never formats a drive and never changes partitions.",
    L"- It never writes to the device directly; it only creates normal files in the free space.",
    L"- It does not read or change the files already on the drive.",
    L"- It deletes only the test files the test itself created, and only after asking you.",
    L"# Your first test",
    L"1. Plug in the stick or card. The drive appears in the drive list; network and cloud drives are not offered there.",
    L"2. Select the drive and compare the line below the list: drive letter, name, size, free space and connection. If in doubt, File > Open in Explorer shows what is on it.",
    L"3. Back up important data to another drive first. Velkor does not change it, but a fake drive can overwrite older data while it is being filled.",
    L"4. Choose Test > Start test (F5). With the settings hidden, Velkor fills all the free space except a small reserve and then checks all of it.",
    L"5. Wait for the report. The status bar shows the progress; Test > Stop (Esc) cancels the test. Large drives take hours.",
    L"6. Finally Velkor asks whether to delete the test files. Answer Yes and the space is free again.",
    L"# Reading the result",
    L"- 0 errors and 100 % reliability: everything written came back unchanged. In the area checked, the drive keeps its promise.",
    L"- Errors found: the drive lost or corrupted data. Do not trust it with any data.",
    L"- Cancelled: the test ended early because you stopped it, the drive was removed or the file system does not accept such a large file. This says nothing about the rest of the drive.",
    L"- Check incomplete: not everything was read back. This is no proof that the drive is fine.",
    L"# How to recognise a fake stick",
    L"Fake sticks and cards report more storage to the computer than they really have. Writing seems to work, but everything beyond the real limit is lost or overwrites older data. Typical signs in the result:",
    L"- The errors start only after a certain amount, and from there on almost every block is wrong.",
    L"- Read back/verified is far less than written, or the error count is very high.",
    L"- The write speed drops sharply after a while, or the price was suspiciously low for the size.",
    L"Only a test over all the free space reliably exposes a fake. A short test with a small test size checks only the beginning, where even a fake has real storage.",
    L"When the test finds bad blocks, the report contains a diagnosis: the finding, the estimated usable capacity and how many blocks came back overwritten, empty, damaged or unreadable. If the medium repeats itself after a certain amount, or the data comes back empty from some point on, that is the typical picture of a fake; the usable capacity is then its real size. View > Block map and speed shows where on the medium the errors are and how the speed changed during the test.",
    L"# What the settings mean",
    L"View > Show settings opens the detailed settings. While they are shown, Start test uses exactly the values set there. Once they are hidden again, Start test checks all the free space except a small reserve, with the Reliable profile and a short method test first; Test size, Keep free and Test partial range do not apply then.",
    L"| Setting | Meaning",
    L"| Test size (MB) | How much is written and verified in total. To check whether a drive is genuine, use all the free space.",
    L"| Block size (KB) | The size of the pieces that are written and read. Larger blocks are usually faster; the block size does not change the verdict.",
    L"| Workers | How many write and read operations run at the same time. More is not always faster; one processor core always stays free.",
    L"| Keep free (MB) | How much free space should remain on the drive.",
    L"| Test points | At how many places the method test measures. More points check more areas but take longer.",
    L"| Profile | The access type (see Profiles).",
    L"| Run method test first | Measures several combinations of block size and workers before the actual test.",
    L"| Use fastest variant | Uses the fastest error-free variant of the method test for the full test that follows.",
    L"| Test partial range | Checks only a section: from Start (MB), the length given in Range (MB). Good for a quick suspicion, but no substitute for the full test.",
    L"| Delete test files at the end | After the test, asks whether the test files it created should be deleted.",
    L"# Profiles",
    L"| Profile | Meaning",
    L"| Quorvel mode | The full test: fills the free space except a reserve and reads everything back. The right choice to check whether a drive is genuine.",
    L"| Reliable | Careful access that writes every block straight to the drive. Slower, but the most telling.",
    L"| Balanced | A middle course between speed and care.",
    L"| Turbo (aggressive) | A fast pre-check that finds obviously defective drives early. For a final verdict, run a full test afterwards.",
    L"# The menus",
    L"| Menu | Contents",
    L"| File | Open the drive in Explorer, export results, open the results folder, exit",
    L"| Test | Start test (F5), Stop (Esc), Verify only: just read and compare existing test files",
    L"| View | Show or hide the settings and the method test, the block map and speed of a test with bad blocks",
    L"| Help | This help as an HTML page or PDF, About Velkor",
    L"# When a drive shows errors",
    L"1. Do not store anything important on it any more. Copy any data still on it to another drive right away.",
    L"2. Repeat the test on another USB port or with another card reader. If the errors do not come back, the port or the reader was to blame.",
    L"3. If the errors come back, the drive is defective or fake. Save the report (Yes in the result window) or export the results as evidence.",
    L"4. Return a new drive to the seller and include the report. Formatting does not repair a fake drive: the false size remains.",
    L"# Results, log and export",
    L"Every test is saved as a JSON file in the results folder (File > Open results folder); the Saved tests list loads it back into the window. File > Export results writes the results shown as CSV, Excel, text, JSON or PDF. The diagnostic log records what happened: drive, settings, files, errors and stops.",
};

}  // namespace

HelpText EnglishHelpText() {
  return {L"en", L"Velkor Help",
          L"Checks whether a USB stick, an SD card or another drive really keeps its promise.", kLines,
          sizeof(kLines) / sizeof(kLines[0])};
}

}  // namespace velkor
