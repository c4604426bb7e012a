@echo off
rem Plays every package of the folder "packages" beside this file, in the order of its Position.lst, one
rem velmora.exe run each (a direct run plays one scenario), all into one report named after this machine.
rem Then writes the run's exit code into COMPUTERNAME.exit-code beside the report, which is what a deployment
rem tool waits for: 2 when any package failed, else 1 when any was skipped or stopped, else 3010 when an
rem installer asks for a restart, else 0.
rem   velmora-run.cmd [REPORT-FOLDER] [WINDOW-MINUTES]
rem Needs the session of a logged-on user and a full administrator token (run it as an elevated task).
setlocal EnableDelayedExpansion
set "HERE=%~dp0"
set "REPORTS=%~1"
if "%REPORTS%"=="" set "REPORTS=%HERE%reports"
set "MINUTES=%~2"
if "%MINUTES%"=="" set "MINUTES=15"
if not exist "%REPORTS%\" mkdir "%REPORTS%"
rem Position.lst is written in the ANSI code page; read it in that one, so that package names keep their letters.
for /f "tokens=3" %%C in ('reg query HKLM\SYSTEM\CurrentControlSet\Control\Nls\CodePage /v ACP') do chcp %%C >nul

set "WORST=0"
if not exist "%HERE%packages\Position.lst" set "WORST=2"
rem cmd puts in the computer's name here; velmora.exe would do it too, where no shell stands between.
for /f "usebackq delims=" %%P in ("%HERE%packages\Position.lst") do (
    start "" /wait "%HERE%velmora.exe" /TIMEOUT=%MINUTES% /nostat /LOG="%REPORTS%\%COMPUTERNAME%.txt" /inst "%HERE%packages\%%P.SCN"
    set "CODE=!errorlevel!"
    if !CODE!==2 set "WORST=2"
    if !CODE!==1 if not !WORST!==2 set "WORST=1"
    if !CODE!==3010 if !WORST!==0 set "WORST=3010"
    rem A code of its own (the program could not start, say) counts as a failure.
    if not !CODE!==0 if not !CODE!==1 if not !CODE!==2 if not !CODE!==3010 set "WORST=2"
)
> "%REPORTS%\%COMPUTERNAME%.exit-code" echo !WORST!
exit /b !WORST!
