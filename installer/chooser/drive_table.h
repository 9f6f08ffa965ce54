// The drive table and the pictures that the folder chooser and the search
// share.
#ifndef DRIVE_TABLE_H
#define DRIVE_TABLE_H

void InitDriveTable();
void LoadWizardImages();
void FreeDriveTable();

#endif
