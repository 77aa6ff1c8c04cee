"""Where things are in the demo courseware, as the scenarios reach them."""

# Textbook, grade, unit and lesson of the lesson every scenario opens.
HELLO = ("新起点英语", "三年级上册", "Unit 1 问候", "Unit1 Hello")
# Its catalogue code, as the player remembers the lesson opened last.
HELLO_CODE = "01010101"
HELLO_FIRST_WORD = "hello"
# The words of its dictation page, in the order of the answer edits.
HELLO_DICTATION = ("hello", "hi", "name", "friend", "bye", "teacher")
# Its after-class test has two pages, the choices, then the arrangement; a
# text of each page's heading tells them apart.
HELLO_TEST_HEADINGS = ("测一测：听录音，选图片。", "听录音，把单词排成句子。")
# The sentence of its arrangement page, in the right order.
HELLO_ARRANGE = ("My", "name", "is", "Mike.")
