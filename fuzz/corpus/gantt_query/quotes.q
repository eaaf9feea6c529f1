'O'Brien''='it's'
OR
'Name'!=''
OR
'Start'<='1e3'
